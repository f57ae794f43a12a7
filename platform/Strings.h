#pragma once
// The one place where the module's byte strings meet Qt's strings.
// Valid UTF-8 is decoded as such; every byte that is not part of valid UTF-8 is mapped
// to a lone surrogate U+DC80..U+DCFF and mapped back by FromQString, so any byte
// string survives ToQString followed by FromQString unchanged.
#include <QString>
#include <string>

QString ToQString(const std::string& bytes);
std::string FromQString(const QString& text);
