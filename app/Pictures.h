#pragma once

// The pictures of the main window's picture buttons and of the notice picture. The common ones come from
// the desktop's icon theme, or the toolkit's own icons where the theme has none; the flags and the notice
// picture are drawn here.

#include <QIcon>
#include <QPixmap>

class QStyle;

namespace vesmarin::pictures {

enum class Button { Refresh, UpOneLevel, SavePath, Browse, RecallPath, Help, End };

QIcon ButtonIcon(Button button, const QStyle* style);

QPixmap GreekFlag(int width, int height);
QPixmap EnglishFlag(int width, int height);
QPixmap Notice(int size);

} // namespace vesmarin::pictures
