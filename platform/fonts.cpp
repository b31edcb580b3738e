#include "platform/fonts.h"

namespace vorn {

QFont layoutFont(const FontSpec& spec) {
    QFont font;
    int weight = spec.bold ? QFont::Bold : QFont::Normal;
    if (spec.family == u"Arial Black") {
        // Lato Black, widened: the face the layouts were drawn for is much wider than Lato, and
        // texts sized to their labels keep close to the widths the layouts leave them.
        font.setFamily(QStringLiteral("Lato"));
        font.setStretch(125);
        weight = QFont::Black;  // the face itself is black; bold adds nothing
    } else if (spec.family == u"Verdana") {
        font.setFamily(QStringLiteral("DejaVu Sans"));
    } else if (spec.family == u"MS Sans Serif") {
        font.setFamily(QStringLiteral("Liberation Sans"));
    } else if (spec.family == u"Jokerman") {
        font.setFamily(QStringLiteral("Lobster Two"));
    } else {
        font.setFamily(spec.family);
    }
    font.setPixelSize(spec.pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace vorn
