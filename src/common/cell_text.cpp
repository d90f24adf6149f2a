#include "common/cell_text.h"

namespace {

bool 需清理(const QString &text) {
    for (const QChar c : text)
        if (c.unicode() == 0 || c.isSurrogate())
            return true;
    return false;
}

} // namespace

QString 单元格文本(const QString &text) {
    if (!需清理(text))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() == 0)
            continue;
        // A pair is judged on the text as given, so that removing a U+0000 between two halves
        // never joins them into a character nobody typed.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else {
            out += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
        }
    }
    return out;
}
