#pragma once
#include "emulators/farview/CRemoteDisplayDlg.h"

namespace qs::farview {

// The faceplate of a device with four logical displays on two screens: a second LCD below the
// first (screen 1), the keypad beside them.
class CRemoteDisplayQuadDlg : public CRemoteDisplayDlg {
public:
    CRemoteDisplayQuadDlg(RemoteDisplaySession& session, FarviewSettings& settings, const UiServices& ui)
        : CRemoteDisplayDlg(session, settings, ui, FaceplateLayout::Quad()) {}
};

}  // namespace qs::farview
