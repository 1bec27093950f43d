#pragma once
#include <array>
#include <cstdint>
#include <optional>

namespace qs::display {

// The device's 20 keys as the faceplate shows them: the button id, its caption and the key
// code a key frame carries for it.
struct FaceplateKey {
    int id;
    const char* caption;
    uint8_t code;
};

class FaceplateKeys {
public:
    static constexpr int kFirstId = 1000;
    static constexpr int kCount = 20;
    static constexpr uint8_t kF1 = ';';
    static constexpr uint8_t kF2 = '<';
    static constexpr uint8_t kStop = 'B';

    static const std::array<FaceplateKey, kCount>& All();
    // The key code of a button id; nullopt for ids that are no key.
    static std::optional<uint8_t> CodeOf(int id);
};

}  // namespace qs::display
