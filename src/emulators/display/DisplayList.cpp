#include "emulators/display/DisplayList.h"

#include <algorithm>

namespace qs::display {

DisplayList::DisplayList(ObjectScope scope, size_t memoryLimit) : scope_(scope), budget_(memoryLimit) {}

std::optional<size_t> DisplayList::Charge(size_t bytes, int display) {
    if (auto charged = budget_.Take(bytes)) return charged;
    CollectGarbage(display);
    return budget_.Take(bytes);
}

bool DisplayList::AnyCurrentWindow() const {
    return std::any_of(current_.begin(), current_.end(), [](uint16_t id) { return id != 0; });
}

const DisplayListWindow* DisplayList::FindDisplayWindow(uint16_t id, int display) const {
    for (const auto& w : windows_[Index(display)]) {
        if (w->id == id && !w->Deleted()) return w.get();
    }
    return nullptr;
}

DisplayListWindow* DisplayList::FindDisplayWindow(uint16_t id, int display) {
    return const_cast<DisplayListWindow*>(static_cast<const DisplayList*>(this)->FindDisplayWindow(id, display));
}

const DisplayObject* DisplayList::FindDisplayObject(uint16_t id, int display) const {
    for (const auto& o : objects_[ObjectList(display)]) {
        if (o->id == id && !o->Deleted()) return o.get();
    }
    return nullptr;
}

DisplayObject* DisplayList::FindDisplayObject(uint16_t id, int display) {
    return const_cast<DisplayObject*>(static_cast<const DisplayList*>(this)->FindDisplayObject(id, display));
}

bool DisplayList::AddWindow(uint16_t id, uint8_t displayByte) {
    const int display = displayByte & 3;
    const std::optional<size_t> charge = Charge(kWindowRecord, display);
    if (!charge) return false;
    auto w = std::make_unique<DisplayListWindow>();
    w->id = id;
    w->displayByte = displayByte;
    w->charge = *charge;
    windows_[Index(display)].push_back(std::move(w));
    if (current_[Index(display)] == 0) current_[Index(display)] = id;
    return true;
}

std::optional<uint16_t> DisplayList::SelectWindow(uint16_t id, uint8_t flags, int display) {
    DisplayListWindow* w = FindDisplayWindow(id, display);
    if (!w) return std::nullopt;
    const uint16_t previous = current_[Index(display)];
    current_[Index(display)] = id;
    w->flags = static_cast<uint8_t>((flags & ~DisplayListWindow::kDeleted) | (w->flags & DisplayListWindow::kSticky));
    return previous;
}

bool DisplayList::DeleteWindow(uint16_t id, int display) {
    DisplayListWindow* w = FindDisplayWindow(id, display);
    if (!w || id == current_[Index(display)]) return false;
    w->flags |= DisplayListWindow::kDeleted;
    for (uint16_t objectId : w->objects) {
        DisplayObject* o = FindDisplayObject(objectId, display);
        if (o && o->References() > 0) --o->flags;
    }
    return true;
}

DisplayObject* DisplayList::AddDisplayObject(uint16_t id, int display) {
    const std::optional<size_t> charge = Charge(kObjectRecord, display);
    if (!charge) return nullptr;
    auto o = std::make_unique<DisplayObject>();
    o->id = id;
    o->recordCharge = *charge;
    objects_[ObjectList(display)].push_back(std::move(o));
    return objects_[ObjectList(display)].back().get();
}

bool DisplayList::AttachDisplayObject(uint16_t windowId, uint16_t objectId, int display) {
    DisplayListWindow* w = FindDisplayWindow(windowId, display);
    DisplayObject* o = FindDisplayObject(objectId, display);
    if (!w || !o) return false;
    if (std::find(w->objects.begin(), w->objects.end(), objectId) != w->objects.end()) {
        o->MarkChanged();
        return true;
    }
    if (o->References() >= DisplayObject::kMaxReferences) return false;
    const std::optional<size_t> charge = Charge(kReference, display);
    if (!charge) return false;
    w->objects.push_back(objectId);
    w->charge += *charge;
    ++o->flags;
    o->MarkChanged();
    return true;
}

bool DisplayList::DeleteDisplayObject(uint16_t id, int display) {
    DisplayObject* o = FindDisplayObject(id, display);
    if (!o || o->References() != 0) return false;
    o->flags |= DisplayObject::kDeleted;
    return true;
}

void DisplayList::CollectGarbage(int display) {
    auto& windows = windows_[Index(display)];
    std::erase_if(windows, [this](const std::unique_ptr<DisplayListWindow>& w) {
        if (!w->Deleted()) return false;
        budget_.Release(w->charge);
        return true;
    });
    auto& objects = objects_[ObjectList(display)];
    std::erase_if(objects, [this](const std::unique_ptr<DisplayObject>& o) {
        if (!o->Deleted()) return false;
        budget_.Release(o->recordCharge + o->payloadCharge);
        return true;
    });
}

bool DisplayList::SetPayload(DisplayObject& object, int display, std::vector<uint8_t> bytes) {
    budget_.Release(object.payloadCharge);
    const std::optional<size_t> charge = Charge(bytes.size(), display);
    if (!charge) {
        budget_.Restore(object.payloadCharge);
        return false;
    }
    object.payload = std::move(bytes);
    object.payloadCharge = *charge;
    return true;
}

void DisplayList::Clear() {
    for (auto& list : windows_) list.clear();
    for (auto& list : objects_) list.clear();
    current_.fill(0);
    budget_ = MemoryBudget(budget_.Limit());
}

uint16_t DisplayList::NextWindowId(int display) {
    uint16_t& counter = windowCounter_[Index(display)];
    for (int tries = 0; tries < 0x10000; ++tries) {
        if (++counter == 0) ++counter;
        if (!FindDisplayWindow(counter, display)) break;
    }
    return counter;
}

uint16_t DisplayList::NextObjectId(int display) {
    uint16_t& counter = objectCounter_[Index(display)];
    for (int tries = 0; tries < 0x10000; ++tries) {
        if (++counter == 0) ++counter;
        if (!FindDisplayObject(counter, display)) break;
    }
    return counter;
}

}  // namespace qs::display
