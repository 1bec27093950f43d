#include "ModelChain.h"

#include <algorithm>
#include <cstdio>

namespace qs::test {

namespace {

// The copy of `first` for each further instance or arm.
void AddCopies(std::vector<std::unique_ptr<CDirectory>>& list, std::unique_ptr<CDirectory> first, int count) {
    list.push_back(std::move(first));
    while (static_cast<int>(list.size()) < count) list.push_back(std::make_unique<CDirectory>(*list.back()));
}

}  // namespace

ModelChain::ModelChain(ProgramDataContext* context) {
    const DefinitionSource files = FilesIn(QS_DATA_BUILD_DIR);
    system_ = std::make_unique<CDirectory>(CDirectory::kSystem, "System", 11, 0, false, false, context, files);
    bayA_ = std::make_unique<CDirectory>(CDirectory::kBayA, "Bay A", 9, 1, false, false, context, files);
    recipe_ = std::make_unique<CDirectory>(CDirectory::kRecipe, "Recipe", 0, 50, true, false, context, files);
    AddCopies(arms_, std::make_unique<CDirectory>(CDirectory::kArm, "Arm", 9, 1, false, true, context, files), kArms);
    AddCopies(meters_, std::make_unique<CDirectory>(CDirectory::kMeter, "Meter", 9, kMeters, false, true, context, files),
              kMeters);
    AddCopies(products_,
              std::make_unique<CDirectory>(CDirectory::kProduct, "Product", 9, kProducts, false, true, context, files),
              kProducts);
}

bool ModelChain::Loaded() const {
    return system_->Loaded() && bayA_->Loaded() && recipe_->Loaded() && arms_[0]->Loaded() && meters_[0]->Loaded() &&
           products_[0]->Loaded();
}

std::vector<CDirectory*> ModelChain::PerArm(int arm) {
    std::vector<CDirectory*> out{&Arm(arm)};
    for (auto& m : meters_) out.push_back(m.get());
    for (auto& p : products_) out.push_back(p.get());
    return out;
}

CDirectory* ModelChain::ByMnemonic(const std::string& mnemonic, int arm) {
    if (mnemonic == "SY") return system_.get();
    if (mnemonic == "BA") return bayA_.get();
    if (mnemonic == "AR") return &Arm(arm);
    if (mnemonic.size() == 2 && mnemonic[0] == 'M') return &Meter(mnemonic[1] - '1');
    if (mnemonic.size() == 2 && mnemonic[0] == 'P') return &Product(mnemonic[1] - '1');
    return recipe_.get();
}

int ModelChain::ValueIndexOf(const std::string& mnemonic, int arm) {
    if (mnemonic == "SY" || mnemonic == "BA") return 0;
    if (mnemonic == "AR") return arm;
    if (mnemonic[0] == 'M') return (mnemonic[1] - '1') + arm * kMeters;
    if (mnemonic[0] == 'P') return (mnemonic[1] - '1') + arm * kProducts;
    return std::stoi(mnemonic) - 1;
}

void ModelChain::FillValues(const std::string& text) {
    auto fill = [&](CDirectory& d) {
        for (CParam* p : CodesOf(d))
            for (int i = 0; i < p->ValueCount(); ++i) p->SetValue(text, i);
    };
    // Copies share their first directory's codes.
    fill(*system_);
    fill(*bayA_);
    fill(*recipe_);
    fill(*arms_[0]);
    fill(*meters_[0]);
    fill(*products_[0]);
}

std::vector<CParam*> CodesOf(const CDirectory& dir) {
    std::vector<CParam*> out;
    if (dir.InstancesAsSubdirectories()) {
        // Every recipe walks the one list.
        if (CSubdirectory* s = dir.FirstWalked()) s->ForEachParam([&](CParam& p) { out.push_back(&p); });
        return out;
    }
    for (CSubdirectory* s = dir.FirstWalked(); s != nullptr; s = s->NextSubdirectory())
        s->ForEachParam([&](CParam& p) { out.push_back(&p); });
    return out;
}

std::string CodeCommand(const std::string& verb, const std::string& mnemonic, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", number);
    return verb + " " + mnemonic + " " + digits;
}

bool ProgressTold(const RecordingUi& ui, const std::string& text) {
    const auto& texts = ui.progress.at(0)->texts;
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

void ModelFaultRig::Start(const std::vector<std::string>& faults) {
    std::vector<std::string> args{"--addresses", "1,2,3"};
    for (const auto& f : faults) args.insert(args.end(), {"--fault", f});
    device = std::make_unique<SimRig>(SimRig::Setup{.args = args});
    ASSERT_TRUE(device->Ready()) << device->Error();
    context = std::make_unique<DeviceContext>(device->Open(Framing::Mini));
    chain = std::make_unique<ModelChain>(context.get());
    ASSERT_TRUE(chain->Loaded());
}

}  // namespace qs::test
