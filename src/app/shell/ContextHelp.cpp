#include "app/shell/ContextHelp.h"

#include <sys/stat.h>

#include <map>
#include <memory>

#include <wx/html/helpctrl.h>
#include <wx/window.h>

#include "platform/Paths.h"
#include "platform/UiServices.h"

namespace qs {

namespace {

std::map<const wxWindow*, int>& Ids() {
    static std::map<const wxWindow*, int> ids;
    return ids;
}

void Forget(wxWindowDestroyEvent& event) {
    event.Skip();
    // The event reaches the parents too: only the window that goes is forgotten.
    if (event.GetEventObject() == event.GetWindow()) Ids().erase(event.GetWindow());
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// One controller for the program's life, made when help is first asked for.
wxHtmlHelpController* Controller(const std::string& book) {
    static std::unique_ptr<wxHtmlHelpController> controller;
    static std::string loaded;
    if (controller && loaded == book) return controller.get();
    auto made = std::make_unique<wxHtmlHelpController>(wxHF_DEFAULT_STYLE);
    if (!made->AddBook(wxString::FromUTF8(book))) return nullptr;
    controller = std::move(made);
    loaded = book;
    return controller.get();
}

wxHtmlHelpController* Book(const UiServices& ui) {
    const auto book = ContextHelp::FindBook();
    wxHtmlHelpController* controller = book ? Controller(*book) : nullptr;
    if (!controller) ui.Message(ContextHelp::kNoHelpMessage, MB_OK | MB_ICONINFORMATION);
    return controller;
}

}  // namespace

void ContextHelp::SetId(wxWindow* window, int id) {
    if (!window) return;
    auto& ids = Ids();
    const bool known = ids.count(window) != 0;
    if (id == 0) {
        ids.erase(window);
        return;
    }
    ids[window] = id;
    if (!known) window->Bind(wxEVT_DESTROY, &Forget);
}

int ContextHelp::GetId(const wxWindow* window) {
    const auto it = Ids().find(window);
    return it == Ids().end() ? 0 : it->second;
}

int ContextHelp::FindFrom(const wxWindow* window) {
    for (const wxWindow* w = window; w != nullptr; w = w->GetParent()) {
        if (const int id = GetId(w)) return id;
    }
    return 0;
}

std::optional<std::string> ContextHelp::FindBook(const std::vector<std::string>& dirs) {
    for (const auto& dir : dirs) {
        if (dir.empty()) continue;
        for (const char* name : {"/help/Quillset.htb", "/help/Quillset.hhp"}) {
            if (IsFile(dir + name)) return dir + name;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ContextHelp::FindBook() { return FindBook(paths::DataSearchDirs()); }

bool ContextHelp::ShowContents(const UiServices& ui) {
    wxHtmlHelpController* help = Book(ui);
    return help && help->DisplayContents();
}

bool ContextHelp::ShowIndex(const UiServices& ui) {
    wxHtmlHelpController* help = Book(ui);
    return help && help->DisplayIndex();
}

bool ContextHelp::ShowTopic(const UiServices& ui, int id) {
    wxHtmlHelpController* help = Book(ui);
    if (!help) return false;
    // A topic the book does not map opens its contents.
    return (id != 0 && help->Display(id)) || help->DisplayContents();
}

}  // namespace qs
