#pragma once

class wxDocManager;

namespace qs {

class CPowerDocTemplate;
struct AppServices;

// Quillset's seven document templates, in the order they are registered. A side document's
// template exists from the start but can make no document (and its New command stays off)
// until its document and view classes are given to it.
struct DocTemplates {
    CPowerDocTemplate* programData = nullptr;  // 127: ".D3X" program data
    CPowerDocTemplate* report = nullptr;       // 126: ".RPX" report definitions
    CPowerDocTemplate* equation = nullptr;     // 125: ".EQX" equation sets
    CPowerDocTemplate* terminal = nullptr;     // 124: terminal window on a program-data document
    CPowerDocTemplate* translation = nullptr;  // 123: ".LGX" translations
    CPowerDocTemplate* database = nullptr;     // 121: ".3DB" card database
    CPowerDocTemplate* errorLog = nullptr;     // 122: transfer-error log on a program-data document

    // Creates them in `manager`, which owns them from then on.
    static DocTemplates Create(wxDocManager& manager);
    // Gives every template the services its documents are made with.
    void SetServices(const AppServices* services) const;
};

}  // namespace qs
