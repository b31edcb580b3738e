#include "platform/fonts.h"

namespace vorn {

QFont layoutFont(const FontSpec& wanted) {
    QFont font;
    int weight = wanted.bold ? QFont::Bold : QFont::Normal;
    if (wanted.family == u"Arial Black") {
        // Lato Black, widened: the face the layouts were drawn for is much wider than Lato, and
        // texts sized to their labels keep close to the widths the layouts leave them.
        font.setFamily(QStringLiteral("Lato"));
        font.setStretch(125);
        weight = QFont::Black;  // the face itself is black; bold adds nothing
    } else if (wanted.family == u"Verdana") {
        font.setFamily(QStringLiteral("DejaVu Sans"));
    } else if (wanted.family == u"MS Sans Serif") {
        font.setFamily(QStringLiteral("Liberation Sans"));
    } else if (wanted.family == u"Jokerman") {
        font.setFamily(QStringLiteral("Lobster Two"));
    } else {
        font.setFamily(wanted.family);
    }
    font.setPixelSize(wanted.pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace vorn
