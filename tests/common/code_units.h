#pragma once

#include <QString>
#include <initializer_list>

// A text given as UTF-16 code units, for texts a source literal cannot hold: U+0000 inside,
// or half of a surrogate pair.
inline QString 码元(std::initializer_list<char16_t> units) {
    QString text;
    for (const char16_t u : units)
        text += QChar(u);
    return text;
}
