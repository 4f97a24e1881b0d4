#include "language/ToolkitTexts.h"

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

namespace vesmarin {

void UseToolkitLanguage(bool greek) {
    static QTranslator* const greekTexts = [] {
        auto* texts = new QTranslator(QCoreApplication::instance());
        // Built into the program; should it be missing, the toolkit's English stays.
        if (!texts->load(QStringLiteral(":/i18n/toolkit_el.qm")))
            return static_cast<QTranslator*>(nullptr);
        return texts;
    }();
    static bool installed = false;
    if (!greekTexts || greek == installed)
        return;
    installed = greek ? QCoreApplication::installTranslator(greekTexts)
                      : !QCoreApplication::removeTranslator(greekTexts);
}

} // namespace vesmarin
