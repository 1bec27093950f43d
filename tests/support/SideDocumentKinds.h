#pragma once
// The four side-document kinds behind one face, for the suites that run over all of them (their
// files, their transfers, the simulated controller keeping what they send), and the hand-over
// a transfer runs on through a program-data document connected as the main window connects it.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/DX3Protocol.h"
#include "platform/ArchiveWriter.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/DeviceAccess.h"
#include "sidedocs/carddb/CDatabase.h"
#include "sidedocs/equations/CEquationDoc.h"
#include "sidedocs/equations/EquationDestinations.h"
#include "sidedocs/reports/CReport.h"
#include "sidedocs/translations/CTranslation.h"

namespace qs::test {

// The dictionary the build generated.
inline const ParamDictionary& BuiltParamDictionary() {
    static ParamDictionary dictionary;
    static const bool loaded = dictionary.LoadFile(std::string(QS_DATA_BUILD_DIR) + "/PARAM.DAT");
    (void)loaded;
    return dictionary;
}

// `doc` chosen without a question, connected, and its protocol handed over when the device
// answered (and took the write test, where a transfer needs it online), as the main window does.
// `choices` and `online`, when given, count the choices and note what each connection asked.
inline DeviceAccess AccessThrough(CVexa3Doc& doc, const UiServices& ui, int* choices = nullptr,
                                  std::vector<bool>* online = nullptr) {
    return DeviceAccess{
        .ui = ui,
        .chooseDocument = [&doc, choices]() -> CVexa3Doc* {
            if (choices) ++*choices;
            return &doc;
        },
        .connectedProtocol = [online](CVexa3Doc& d, bool requireOnline) -> DX3Protocol* {
            if (online) online->push_back(requireOnline);
            const CVexa3Doc::ConnectionState state = d.Connect(false);
            if (state < CVexa3Doc::kStateReadOnly || (requireOnline && state < CVexa3Doc::kStateOnline)) return nullptr;
            return d.GetProtocol();
        },
    };
}

// One side document of a kind, with what the suites need of it.
class SideKind {
public:
    enum Id { kEquations, kReports, kTranslations, kCardDatabase };
    static constexpr Id kAll[] = {kEquations, kReports, kTranslations, kCardDatabase};

    static std::unique_ptr<SideKind> Make(Id id, const UiServices& ui);
    static const char* Name(Id id) {
        constexpr const char* kNames[] = {"Equations", "Reports", "Translations", "CardDatabase"};
        return kNames[id];
    }
    virtual ~SideKind() = default;

    // Content in every field the kind keeps.
    virtual void Fill() = 0;
    // The document as its file holds it.
    virtual std::string Image() const = 0;
    virtual bool Load(const std::string& path) = 0;
    virtual bool Save(const std::string& path) = 0;
    virtual bool Download(const DeviceAccess& device) const = 0;
    virtual bool Upload(const DeviceAccess& device) = 0;
    // What travels to the device and back, as text.
    virtual std::string DeviceContent() const = 0;

    uint16_t readCode = 0;
    uint16_t writeCode = 0;
    bool secondFinalWait = false;  // a late reply to the closing frame is waited for once more
    bool sendsLo = false;          // the device document sends "LO" after a download
    const char* nothingToSend = "";
    const char* badCrc = "";
    const char* initiatingRead = "Error initiating read - ";
    size_t uploadLimit = 65000;  // the most an upload takes
};

namespace sidekinds {

class Equations final : public SideKind {
public:
    explicit Equations(const UiServices& ui) : ui_(ui) {
        readCode = 0x0412;
        writeCode = 0x0413;
        nothingToSend = "No Entries Defined. Nothing to download.";
        badCrc = "CRC of returned equation set does not match expected value.";
        initiatingRead = "Error initiating Read - ";
    }
    void Fill() override {
        doc.SetSetName("Rack 4");
        doc.SetDisableFlag(1);
        // Lines in the forms the controller's lines read back in.
        Add(EquationDestinations::kTempFloat, 1, "2.5 * 2");
        auto comment = std::make_unique<CEquation>();
        comment->type = EquationDestinations::kComment;
        comment->text = "totals";
        doc.Lines().push_back(std::move(comment));
        Add(EquationDestinations::kUserFloat, 1, "TEMPFLOAT1 + 7").disable = 1;
    }
    std::string Image() const override {
        ArchiveWriter out;
        doc.Serialize(out);
        return out.Bytes();
    }
    bool Load(const std::string& path) override { return doc.Load(path, ui_); }
    bool Save(const std::string& path) override { return doc.Save(path, ui_); }
    bool Download(const DeviceAccess& device) const override { return doc.Download(device); }
    bool Upload(const DeviceAccess& device) override { return doc.Upload(device); }
    std::string DeviceContent() const override {
        std::string out;
        for (const auto& line : doc.Lines())
            if (!line->IsComment()) out += line->text + (line->disable ? " (off)\n" : "\n");
        return out;
    }

    CEquationDoc doc{BuiltParamDictionary()};

private:
    CEquation& Add(int type, int index, const std::string& expression) {
        auto line = std::make_unique<CEquation>();
        line->type = type;
        line->index = static_cast<int16_t>(index);
        line->ParseExpression(expression, doc.Context());
        line->SetText(nullptr, doc.Dictionary());
        doc.Lines().push_back(std::move(line));
        return *doc.Lines().back();
    }
    const UiServices& ui_;
};

class Reports final : public SideKind {
public:
    explicit Reports(const UiServices& ui) : doc(BuiltParamDictionary(), ui) {
        readCode = 0x040A;
        writeCode = 0x040B;
        nothingToSend = "No Entries Defined. Nothing to download.";
        badCrc = "CRC of returned report does not match expected value.";
        doc.OnNewDocument();
    }
    void Fill() override {
        doc.SetTitle("Loading ticket");
        doc.SetPageSize(100, 40, 2);
        doc.SetCharset(3);
        doc.InsertItemInOrder(std::make_unique<ReportItem>(0, 30, "LOADING TICKET"));
        doc.InsertItemInOrder(std::make_unique<ReportItem>(2, 1, "Driver"));
    }
    std::string Image() const override {
        ArchiveWriter out;
        doc.Serialize(out);
        return out.Bytes();
    }
    bool Load(const std::string& path) override { return doc.Load(path); }
    bool Save(const std::string& path) override { return doc.Save(path); }
    bool Download(const DeviceAccess& device) const override { return doc.DownloadToDevice(device, Slot()); }
    bool Upload(const DeviceAccess& device) override { return doc.UploadFromDevice(device, Slot()); }
    std::string DeviceContent() const override {
        std::string out = std::to_string(doc.Columns()) + "x" + std::to_string(doc.LinesPerPage()) +
                          (doc.FormFeed() ? " form feed\n" : "\n");
        for (const auto& item : doc.Items())
            out += std::to_string(item->Line()) + "," + std::to_string(item->Column()) + " " + item->Text() + "\n";
        return out;
    }
    // The slot "Select Report" gives (row 1, the one it opens with).
    ReportSlotChoice Slot() const {
        return [] { return std::optional<int>(1); };
    }

    CReport doc;
};

class Translations final : public SideKind {
public:
    explicit Translations(const UiServices& ui) : ui_(ui) {
        readCode = 0x0410;
        writeCode = 0x0411;
        secondFinalWait = true;
        sendsLo = true;
        nothingToSend = "No entries defined... nothing to download";
        badCrc = "CRC of returned translation does not match expected value.";
        uploadLimit = 32 + 4574 * 502 + 1;  // the header, every text at its longest, the closing 0x00
    }
    void Fill() override {
        doc.SetName("Deutsch");
        doc.SetCharacterSet(3);
        doc.SetText(0, "Bereit");
        doc.SetText(4573, "Fehler");
    }
    std::string Image() const override {
        ArchiveWriter out;
        doc.Serialize(out);
        return out.Bytes();
    }
    bool Load(const std::string& path) override { return doc.Load(path, ui_); }
    bool Save(const std::string& path) override { return doc.Save(path, ui_); }
    bool Download(const DeviceAccess& device) const override { return doc.DownloadToDevice(device); }
    bool Upload(const DeviceAccess& device) override { return doc.UploadFromDevice(device); }
    std::string DeviceContent() const override {
        std::string out = doc.Name() + " set " + std::to_string(doc.CharacterSet()) + "\n";
        for (size_t i = 0; i + 1 < doc.Texts().size(); ++i)
            if (!doc.Text(i).empty()) out += std::to_string(i) + " " + doc.Text(i) + "\n";
        return out;
    }

    CTranslation doc;

private:
    const UiServices& ui_;
};

class CardDatabase final : public SideKind {
public:
    explicit CardDatabase(const UiServices& ui) : ui_(ui) {
        readCode = 0x0418;
        writeCode = 0x0419;
        secondFinalWait = true;
        sendsLo = true;
        nothingToSend = "No entries defined... nothing to download";
        badCrc = "CRC of returned card database does not match expected value.";
        doc.OnNewDocument();
    }
    void Fill() override {
        doc.AddRecord("AB12,Smith,Bay 2,,0007");
        doc.AddRecord("10,,,,0001");
    }
    std::string Image() const override { return doc.SaveText(); }
    bool Load(const std::string& path) override { return doc.Load(path, ui_); }
    bool Save(const std::string& path) override { return doc.Save(path, ui_); }
    bool Download(const DeviceAccess& device) const override { return doc.DownloadToDevice(device); }
    bool Upload(const DeviceAccess& device) override { return doc.UploadFromDevice(device); }
    std::string DeviceContent() const override { return doc.SaveText(); }

    CDatabase doc;

private:
    const UiServices& ui_;
};

}  // namespace sidekinds

inline std::unique_ptr<SideKind> SideKind::Make(Id id, const UiServices& ui) {
    switch (id) {
    case kEquations: return std::make_unique<sidekinds::Equations>(ui);
    case kReports: return std::make_unique<sidekinds::Reports>(ui);
    case kTranslations: return std::make_unique<sidekinds::Translations>(ui);
    case kCardDatabase: break;
    }
    return std::make_unique<sidekinds::CardDatabase>(ui);
}

}  // namespace qs::test
