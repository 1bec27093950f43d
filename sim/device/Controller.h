#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/BlockTransfer.h"
#include "device/CommandProcessor.h"
#include "device/DataSetStore.h"
#include "device/Dictionary.h"
#include "device/DictionaryCatalog.h"
#include "device/FaultPlan.h"
#include "device/LogBook.h"
#include "device/Persona.h"
#include "device/StatusCommands.h"
#include "device/ValueStore.h"
#include "display/DisplayOptions.h"

namespace sim {

struct ControllerConfig {
    Persona persona = *Persona::FromName("controller");
    std::vector<int> addresses{1};
    std::string cfReply = CommandProcessor::DefaultCfReply();
    BlockOptions block;
    char pad = 0x00;               // the byte after the LRC of a Minicomputer reply
    int64_t frameTimeoutMs = 2000; // a frame half-received this long is given up
    std::string dataDir;
    DisplayOptions display;        // the display port's expectations and faults
    StatusConfig status;           // the EQ states and the PT report
    LogOptions logs;               // the records of the logs, the arms' bays
};

// The device as every link sees it: one set of values, data sets and faults shared by all
// the links and connections, as on the real controller.
class Controller {
public:
    explicit Controller(ControllerConfig config);
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    bool Serves(int address) const;
    const ControllerConfig& Config() const { return config_; }
    const Persona& GetPersona() const { return config_.persona; }
    ValueStore& Values() { return values_; }
    DataSetStore& DataSets() { return dataSets_; }
    CommandProcessor& Commands() { return commands_; }
    FaultPlan& Faults() { return faults_; }
    BlockTransfer::SpecialHandlers& SpecialBlocks() { return specialBlocks_; }

    // Gives the device the dictionary's codes (with their defaults, under the values put in
    // already or later from a state file) and answers the definition requests from it.
    void UseDictionary(std::shared_ptr<const Dictionary> dictionary);
    const Dictionary* GetDictionary() const { return dictionary_.get(); }

private:
    ControllerConfig config_;
    ValueStore values_;
    DataSetStore dataSets_;
    CommandProcessor commands_;
    FaultPlan faults_;
    BlockTransfer::SpecialHandlers specialBlocks_;
    StatusCommands status_;
    std::shared_ptr<const Dictionary> dictionary_;
    std::unique_ptr<DictionaryCatalog> catalog_;
};

}  // namespace sim
