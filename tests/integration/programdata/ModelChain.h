#pragma once
// The directories of a six-arm program-data set built straight from the generated definition
// files, without a document (over a DeviceContext): System, Bay A and Recipe once, Arm once per arm, Meter and
// Product once per instance (each copy sharing the first one's codes), as a document chains
// them.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "RecordingUi.h"
#include "SimRig.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"

namespace qs::test {

class ModelChain {
public:
    static constexpr int kArms = 6;
    static constexpr int kMeters = 6;
    static constexpr int kProducts = 6;

    explicit ModelChain(ProgramDataContext* context);

    CDirectory& System() { return *system_; }
    CDirectory& BayA() { return *bayA_; }
    CDirectory& Recipe() { return *recipe_; }
    CDirectory& Arm(int arm) { return *arms_[static_cast<size_t>(arm)]; }
    CDirectory& Meter(int meter) { return *meters_[static_cast<size_t>(meter)]; }
    CDirectory& Product(int product) { return *products_[static_cast<size_t>(product)]; }
    bool Loaded() const;

    // The directories a walk of one arm visits: its Arm copy, every Meter and Product copy.
    std::vector<CDirectory*> PerArm(int arm);
    // The directory a device mnemonic names ("SY", "BA", "AR" at `arm`, "M3", "P1", "05").
    CDirectory* ByMnemonic(const std::string& mnemonic, int arm);
    // Where the value of `mnemonic` at the device of `arm` lives in its code's values.
    static int ValueIndexOf(const std::string& mnemonic, int arm);

    // Every value of every code set to `text` (to tell untouched values from read ones).
    void FillValues(const std::string& text);

private:
    std::unique_ptr<CDirectory> system_, bayA_, recipe_;
    std::vector<std::unique_ptr<CDirectory>> arms_, meters_, products_;
};

// Every code of a directory in walk order.
std::vector<CParam*> CodesOf(const CDirectory& dir);

// "PV SY 023" style: the verb, the mnemonic and the number in three digits.
std::string CodeCommand(const std::string& verb, const std::string& mnemonic, int number);

// A simulator answering addresses 1-3 on the transport of `link`, holding `state`.
inline SimRig::Setup ThreeArmsOver(const LinkKind& link, std::string state = {}) {
    return {.transport = link.transport, .args = {"--addresses", "1,2,3"}, .state = std::move(state)};
}

// Whether the first progress window was shown exactly this text at some point.
bool ProgressTold(const RecordingUi& ui, const std::string& text);

// A simulator at addresses 1-3 with faults, a Minicomputer link to it over TCP/IP and the
// directories on that link.
class ModelFaultRig : public ::testing::Test {
protected:
    // Each fault is passed as one --fault argument.
    void Start(const std::vector<std::string>& faults);

    RecordingUi ui;
    std::unique_ptr<SimRig> device;
    std::unique_ptr<DeviceContext> context;
    std::unique_ptr<ModelChain> chain;
};

}  // namespace qs::test
