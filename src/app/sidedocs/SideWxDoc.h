#pragma once
#include <wx/docmdi.h>
#include <wx/docview.h>
#include <wx/utils.h>

#include <string>
#include <utility>

#include "app/common/SaveChangesPrompt.h"
#include "app/shell/CPowerDocTemplate.h"
#include "appmodel/common/AppServices.h"

namespace qs {

// A side document as the document manager sees it: open, save and the question before closing
// a changed one, over the core document (`Model`, with Load and Save of a path that speak
// through the services, or through the services it was made with) that holds the data. Its
// template makes it with the application's services (see CPowerDocTemplate), through which its
// messages go.
template <class Model>
class SideWxDoc : public wxDocument {
public:
    // `modelArgs`: what the core document is made with beside nothing (a dictionary it reads).
    template <class... ModelArgs>
    explicit SideWxDoc(const AppServices& services, ModelArgs&&... modelArgs)
        : services_(services), core_(std::forward<ModelArgs>(modelArgs)...) {}
    SideWxDoc(const SideWxDoc&) = delete;
    SideWxDoc& operator=(const SideWxDoc&) = delete;

    const AppServices& Services() const { return services_; }
    Model& Core() { return core_; }
    const Model& Core() const { return core_; }

    // "Save changes to <title>?" with Yes, No and Cancel, as the program's other boxes.
    bool OnSaveModified() override { return AskToSaveChanges(*this, services_.ui); }

    // What a Read All brought goes into a new document of this kind, never over this one:
    // `fill` gives the new core document its data; the document is marked changed and its
    // window put in front. False when no document could be made.
    template <class Fill>
    bool NewDocumentWith(Fill&& fill) {
        auto* power = dynamic_cast<CPowerDocTemplate*>(GetDocumentTemplate());
        auto* fresh = power ? dynamic_cast<SideWxDoc*>(power->MakeNewDocument()) : nullptr;
        if (!fresh) return false;
        fill(fresh->core_);
        fresh->Modify(true);
        fresh->UpdateAllViews();
        if (wxView* view = fresh->GetFirstView()) {
            if (auto* frame = dynamic_cast<wxMDIChildFrame*>(view->GetFrame())) frame->Activate();
        }
        return true;
    }

protected:
    bool DoOpenDocument(const wxString& file) override {
        wxBusyCursor wait;
        if constexpr (requires(Model& m, const std::string& path) { m.Load(path); }) return core_.Load(file.utf8_string());
        else return core_.Load(file.utf8_string(), services_.ui);
    }
    bool DoSaveDocument(const wxString& file) override {
        wxBusyCursor wait;
        if constexpr (requires(Model& m, const std::string& path) { m.Save(path); }) return core_.Save(file.utf8_string());
        else return core_.Save(file.utf8_string(), services_.ui);
    }

    const AppServices& services_;
    Model core_;
};

}  // namespace qs
