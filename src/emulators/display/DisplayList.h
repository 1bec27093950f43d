#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "emulators/display/DisplayListWindow.h"
#include "emulators/display/DisplayObject.h"
#include "emulators/display/MemoryBudget.h"

namespace qs::display {

// Where object ids live: one list for all displays (the remote display), or one per display
// (the operator panel).
enum class ObjectScope { Shared, PerDisplay };

// The model the device builds: per display (0-3) its windows in creation order and the current
// one, and the objects the windows refer to. Windows hold object ids, never pointers, and
// every object counts the windows that refer to it, so nothing referenced is ever freed. A
// deleted window or object only waits for the sweep: look-ups no longer find it, and a define
// with its id makes a new one. Every record is charged to a memory budget; a charge that does
// not fit sweeps the display and tries once more.
class DisplayList {
public:
    static constexpr int kDisplays = 4;
    // What the records cost before the size classes round them up.
    static constexpr size_t kWindowRecord = 8;
    static constexpr size_t kObjectRecord = 40;
    static constexpr size_t kReference = 4;

    explicit DisplayList(ObjectScope scope, size_t memoryLimit = MemoryBudget::kDefaultLimit);
    DisplayList(const DisplayList&) = delete;
    DisplayList& operator=(const DisplayList&) = delete;

    // Appends window `id` to display displayByte & 3; the first window of a display becomes its
    // current one. False when memory ran out.
    bool AddWindow(uint16_t id, uint8_t displayByte);
    // Makes the window current with `flags` (its sticky bit kept; the deleted bit never comes
    // from here). nullopt when there is no such window, else the previously current window.
    std::optional<uint16_t> SelectWindow(uint16_t id, uint8_t flags, int display);
    // Refused when the window is missing or current; otherwise marks it deleted and releases
    // its objects.
    bool DeleteWindow(uint16_t id, int display);
    // Appends an empty object; nullptr when memory ran out.
    DisplayObject* AddDisplayObject(uint16_t id, int display);
    // Both must exist. An object already in the window is only marked changed; one that 31
    // windows refer to already is refused.
    bool AttachDisplayObject(uint16_t windowId, uint16_t objectId, int display);
    // Refused when the object is missing or still referenced; otherwise marks it deleted.
    bool DeleteDisplayObject(uint16_t id, int display);
    // Frees the display's deleted windows, then the deleted objects of its object list.
    void CollectGarbage(int display);
    // Replaces the object's payload; false (the old one kept) when memory ran out.
    bool SetPayload(DisplayObject& object, int display, std::vector<uint8_t> bytes);
    // Frees everything.
    void Clear();

    DisplayListWindow* FindDisplayWindow(uint16_t id, int display);
    const DisplayListWindow* FindDisplayWindow(uint16_t id, int display) const;
    DisplayObject* FindDisplayObject(uint16_t id, int display);
    const DisplayObject* FindDisplayObject(uint16_t id, int display) const;
    // 0 when the display has no window.
    uint16_t CurrentWindow(int display) const { return current_[Index(display)]; }
    bool AnyCurrentWindow() const;
    // Every window of the display, deleted ones included, in creation order.
    const std::vector<std::unique_ptr<DisplayListWindow>>& Windows(int display) const { return windows_[Index(display)]; }
    const std::vector<std::unique_ptr<DisplayObject>>& Objects(int display) const { return objects_[ObjectList(display)]; }

    // Ids for windows and objects the program makes itself: the display's counter plus one,
    // passing over ids in use.
    uint16_t NextWindowId(int display);
    uint16_t NextObjectId(int display);

    const MemoryBudget& Budget() const { return budget_; }
    ObjectScope Scope() const { return scope_; }

private:
    static size_t Index(int display) { return static_cast<size_t>(display & 3); }
    size_t ObjectList(int display) const { return scope_ == ObjectScope::Shared ? 0 : Index(display); }
    std::optional<size_t> Charge(size_t bytes, int display);

    ObjectScope scope_;
    MemoryBudget budget_;
    std::array<std::vector<std::unique_ptr<DisplayListWindow>>, kDisplays> windows_;
    std::array<std::vector<std::unique_ptr<DisplayObject>>, kDisplays> objects_;
    std::array<uint16_t, kDisplays> current_{};
    std::array<uint16_t, kDisplays> windowCounter_{};
    std::array<uint16_t, kDisplays> objectCounter_{};
};

}  // namespace qs::display
