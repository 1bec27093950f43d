#pragma once
// A main window of the tests' own that hosts card database documents the way the program's
// main frame does (services, program-data document, status panes), a document template of the
// kind the program registers, and the helpers the card database GUI tests share.
#include <wx/app.h>
#include <wx/docmdi.h>
#include <wx/listctrl.h>

#include <memory>
#include <string>
#include <utility>

#include "GuiPump.h"
#include "RecordingUi.h"
#include "SimProcess.h"
#include "app/shell/CPowerDocTemplate.h"
#include "appmodel/programdata/DocumentOptionsModel.h"
#include "app/sidedocs/SideDocumentHost.h"
#include "app/sidedocs/carddb/CDatabaseView.h"
#include "app/sidedocs/carddb/CDatabaseWxDoc.h"
#include "link/DX3Protocol.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {

class CardDbHostFrame : public wxDocMDIParentFrame, public SideDocumentHost {
public:
    CardDbHostFrame(wxDocManager* manager, const UiServices& services)
        : wxDocMDIParentFrame(manager, nullptr, wxID_ANY, "Card database host", wxDefaultPosition, wxSize(1000, 640)),
          services_(services) {
        CreateStatusBar(3);
    }

    const UiServices& SideServices() override { return services_; }
    bool HasDeviceDocument() const override { return device != nullptr; }
    // The device document connected as the main frame connects it.
    DeviceLinkSource DeviceLink() override {
        DeviceLinkSource s;
        s.chooseDocument = [this] { return device; };
        s.connectedProtocol = [](CVexa3Doc& d, bool requireOnline) -> ComProtocol* {
            d.Connect(false);
            DX3Protocol* protocol = d.GetProtocol();
            if (!protocol) return nullptr;
            protocol->SetAddress(d.BaseAddress());
            if (d.State() < CVexa3Doc::kStateReadOnly || (requireOnline && d.State() < CVexa3Doc::kStateOnline)) {
                protocol->ReportError(nullptr, MB_OKCANCEL);
                return nullptr;
            }
            return protocol;
        };
        return s;
    }
    void ShowDocumentPanes(const std::string& first, const std::string& second) override {
        panes = {first, second};
        SetStatusText(first, 1);
        SetStatusText(second, 2);
    }

    CVexa3Doc* device = nullptr;
    std::pair<std::string, std::string> panes;

private:
    const UiServices& services_;
};

class CardDbRig {
public:
    CardDbRig() : manager_(new wxDocManager) {
        docTemplate = new CPowerDocTemplate(121, manager_, "Quillset.NET Database File", "*.3DB;*.3db", "3DB",
                                            "Quillset.NET  Database File", "DDB_", wxCLASSINFO(CDatabaseWxDoc),
                                            wxCLASSINFO(CDatabaseView));
        frame = new CardDbHostFrame(manager_, ui.services);
        wxTheApp->SetTopWindow(frame);
        frame->Show();
        PumpFor(30);
    }
    ~CardDbRig() {
        manager_->CloseDocuments(true);
        frame->Destroy();
        PumpFor(30);
        wxTheApp->SetTopWindow(nullptr);
        delete manager_;
    }
    CardDbRig(const CardDbRig&) = delete;
    CardDbRig& operator=(const CardDbRig&) = delete;

    // A new document, as File New makes it, holding `records`.
    CDatabaseWxDoc* NewDocument(std::initializer_list<const char*> records = {}) {
        auto* doc = dynamic_cast<CDatabaseWxDoc*>(docTemplate->CreateDocument(wxString(), wxDOC_NEW));
        if (!doc) return nullptr;
        doc->SetDocumentName(docTemplate->GetDocumentName());
        if (!doc->OnNewDocument()) return nullptr;
        for (const char* r : records) doc->Core().AddRecord(r);
        doc->UpdateAllViews();
        return doc;
    }
    static CDatabaseView* ViewOf(wxDocument* doc) { return dynamic_cast<CDatabaseView*>(doc->GetFirstView()); }
    size_t DocumentCount() const { return manager_->GetDocuments().GetCount(); }
    wxDocManager& Manager() { return *manager_; }

    RecordingUi ui;
    CPowerDocTemplate* docTemplate = nullptr;
    CardDbHostFrame* frame = nullptr;

private:
    wxDocManager* manager_;
};

// The texts of one row of the list.
inline std::vector<std::string> RowTexts(const CDatabaseView& view, long row) {
    std::vector<std::string> out;
    for (int c = 0; c < CDatabaseView::kColumnCount; ++c) out.push_back(view.CellText(row, c).utf8_string());
    return out;
}

// Points a program-data document at the simulator over TCP/IP, in Minicomputer framing.
inline void AttachToSim(CVexa3Doc& doc, const SimProcess& sim) {
    DocumentLinkFields f = doc.GetLinkFields();
    f.port = CVexa3Doc::kPortTcp;
    f.protocol = kProtocolMini;
    f.ipv4 = DocumentOptionsModel::ParseIpv4(sim.Host()).value_or(0);
    doc.SetLinkFields(f);
}

inline void FocusRow(const CDatabaseView& view, long row) {
    view.List()->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
}

}  // namespace qs::test
