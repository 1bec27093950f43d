#include "device/Controller.h"

#include <algorithm>

#include "device/DefinitionRequests.h"
#include "device/TotalsCommands.h"

namespace sim {

Controller::Controller(ControllerConfig config)
    : config_(std::move(config)),
      dataSets_(config_.dataDir),
      commands_(config_.persona, values_, config_.cfReply),
      status_(config_.status) {
    status_.Install(commands_);
    LogBook::Install(config_.logs, specialBlocks_, commands_);
    TotalsCommands::Install(commands_);
}

bool Controller::Serves(int address) const {
    return std::find(config_.addresses.begin(), config_.addresses.end(), address) != config_.addresses.end();
}

void Controller::UseDictionary(std::shared_ptr<const Dictionary> dictionary) {
    dictionary_ = std::move(dictionary);
    catalog_ = std::make_unique<DictionaryCatalog>(dictionary_);
    values_.SetCatalog(catalog_.get());
    DefinitionRequests::Install(dictionary_, specialBlocks_);
}

}  // namespace sim
