#pragma once
// A program-data document opened in the shell, and a program-code list on it in a window of
// its own, with the ways a test picks what the list shows.
#include <wx/frame.h>

#include <string>
#include <vector>

#include "ShellFixture.h"
#include "app/programdata/CParamListView.h"
#include "programdata/CDirectory.h"
#include "programdata/CSubdirectory.h"

namespace qs::test {

class ListFixture : public ShellFixture {
protected:
    void TearDown() override {
        if (window) window->Destroy();
        window = nullptr;
        list = nullptr;
        PumpFor(20);
        ShellFixture::TearDown();
    }

    // Opens a document (offline; its link names `host`) and shows a list on it.
    void OpenWithList(const std::string& host = "127.0.0.1") {
        doc = Open(WriteDocument("rack.D3X", host));
        ASSERT_NE(doc, nullptr);
        window = new wxFrame(nullptr, wxID_ANY, "Program codes", wxDefaultPosition, wxSize(640, 480));
        list = new CParamListView(window, *doc);
        window->Show();
        PumpFor(50);
    }

    CDirectory* Directory(int type, int nth = 0) const {
        int seen = 0;
        for (CDirectory* d = doc->Core().FirstDirectory(); d != nullptr; d = d->NextDirectory()) {
            if (d->Type() == type && seen++ == nth) return d;
        }
        return nullptr;
    }

    // The selection of the subdirectory holding a code of the nth directory of a type.
    FrameSelection Holding(int type, int number, int nth = 0, int arm = 0) const {
        FrameSelection s;
        s.directory = Directory(type, nth);
        if (s.directory == nullptr) return s;
        s.directory->FindParam(number, &s.subdirectory);
        s.instance = s.subdirectory ? s.subdirectory->DirectoryInstance() : 0;
        s.arm = arm;
        return s;
    }

    static std::vector<CParam*> Codes(const CSubdirectory& sub) {
        std::vector<CParam*> codes;
        sub.ForEachParam([&](CParam& p) { codes.push_back(&p); });
        return codes;
    }

    long RowOf(int number) const {
        for (long r = 0; r < list->GetItemCount(); ++r) {
            if (list->RowParam(r) && list->RowParam(r)->number == number) return r;
        }
        return -1;
    }

    void Focus(long row) const {
        list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }

    // A key as it reaches the list before the control itself sees it.
    void PressKey(int keyCode) const {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = keyCode;
        key.SetEventObject(list);
        list->GetEventHandler()->ProcessEvent(key);
    }

    CVexa3WxDoc* doc = nullptr;
    wxFrame* window = nullptr;
    CParamListView* list = nullptr;
};

}  // namespace qs::test
