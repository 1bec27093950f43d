#pragma once
#include <string>

namespace qs {

// The status bar text the core may set (connection state, prompts during transfers).
class StatusPane {
public:
    virtual ~StatusPane() = default;
    virtual void SetStatusText(const std::string& text) = 0;
};

}  // namespace qs
