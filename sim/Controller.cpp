#include "Controller.h"

#include <algorithm>

namespace sim {

Controller::Controller(ControllerConfig config)
    : config_(std::move(config)),
      dataSets_(config_.dataDir),
      commands_(config_.persona, values_, config_.cfReply) {}

bool Controller::Serves(int address) const {
    return std::find(config_.addresses.begin(), config_.addresses.end(), address) != config_.addresses.end();
}

}  // namespace sim
