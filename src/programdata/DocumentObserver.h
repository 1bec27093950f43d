#pragma once

namespace qs {

class CVexa3Doc;

// A view of a program-data document. The document tells its views when its values or its
// device identification changed (they redraw) and when its connection state moved (the
// status pane shows the new label).
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void OnDocumentChanged(CVexa3Doc& document) = 0;
    virtual void OnStateChanged(CVexa3Doc& document, int state) = 0;
};

}  // namespace qs
