// Font substitutions for the CJK texts of the windows.
#include "client/shell/ui/Fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace kvt {

void InstallFontFallbacks() {
    // WenQuanYi Micro Hei comes with Debian's fonts-wqy-microhei, the desktop's dependency.
    const QStringList cjk = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("Droid Sans Fallback")};
    QFont::insertSubstitutions(QStringLiteral("仿宋体"), cjk);
    QFont font = QApplication::font();
    for (const QString& family : cjk) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamilies({font.family(), family});
            QApplication::setFont(font);
            break;
        }
    }
}

}  // namespace kvt
