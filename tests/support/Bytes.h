#pragma once

#include <QByteArray>

#include <initializer_list>

namespace q540::test {

// The bytes of a transcript written as the protocol tables write them: decimal values.
inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b += char(v);
    return b;
}

} // namespace q540::test
