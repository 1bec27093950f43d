#pragma once
#include <wx/dialog.h>
#include <wx/scrolwin.h>

namespace qs::displayui {

// The faceplate window both emulators use: a sizeable window whose content is drawn at the
// size of its template, with scroll bars once the user makes the window smaller than that
// (8 pixels a horizontal step, 4 a vertical one). The faceplate's children are placed on
// Faceplate() in template coordinates and scroll with it; a press on the faceplate itself (not
// on a child) drags the window, and the context-menu request anywhere on it comes to
// ShowFaceplateMenu(). Esc and Enter do not close it: a faceplate is no dialog to confirm or
// cancel.
class CScrollDialog : public wxDialog {
public:
    static constexpr int kUnitX = 8;
    static constexpr int kUnitY = 4;

    CScrollDialog(const wxString& title, const wxSize& templateSize);

    wxWindow* Faceplate() const;
    const wxSize& TemplateSize() const { return template_; }
    // The largest scroll positions, in steps; 0 when the window shows the whole template.
    int RangeX() const;
    int RangeY() const;
    // The scroll position, in steps.
    wxPoint ScrollPosition() const;
    void ScrollTo(int unitsX, int unitsY);

    // Where the window is being dragged by its faceplate (for tests).
    bool Dragging() const { return dragging_; }

protected:
    // Draws the faceplate in template coordinates (the scroll position is already applied).
    virtual void PaintFaceplate(wxDC& dc) = 0;
    // The user asked for the window's menu at `screenPoint`.
    virtual void ShowFaceplateMenu(const wxPoint& screenPoint) { (void)screenPoint; }

private:
    class Canvas;
    friend class Canvas;

    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void EndDrag();
    void OnContextMenu(wxContextMenuEvent& event);
    void OnCharHook(wxKeyEvent& event);

    wxSize template_;
    Canvas* canvas_ = nullptr;
    bool dragging_ = false;
    wxPoint grab_;  // the pointer's offset from the window's position
};

}  // namespace qs::displayui
