#pragma once

#include <QIcon>

namespace vesmarin {

// The program's own icon, in every size the build renders (16, 32, 48, 64, 128 and 256 pixels), for the
// windows' title bars and the About box. The pictures live in the resources under
// ":/vesmarin/icons/vesmarin-<size>.png".
QIcon ApplicationIcon();

} // namespace vesmarin
