#include "platform/widgets/Classes.h"

#include <QString>

#include "platform/Strings.h"

void TStrings::CheckIndex(int index, int limit) {
    if (index < 0 || index >= limit)
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TStrings::Add(const std::string& text) {
    const int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::IndexOf(const std::string& text) const {
    const QString wanted = ToQString(text);
    for (int i = 0; i < Count(); ++i) {
        if (QString::localeAwareCompare(ToQString(Get(i)).toCaseFolded(), wanted.toCaseFolded()) ==
            0)
            return i;
    }
    return -1;
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Get(i);
        text += '\n';
    }
    return text;
}

void TStrings::SetText(const std::string& text) {
    Clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, end - start));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
}

void TStrings::Assign(const TStrings& source) {
    if (&source == this) return;
    const std::vector<std::string> copy = source.ToVector();
    Clear();
    for (const std::string& s : copy) Add(s);
}

void TStrings::AddStrings(const TStrings& source) {
    const std::vector<std::string> copy = source.ToVector();
    for (const std::string& s : copy) Add(s);
}

std::vector<std::string> TStrings::ToVector() const {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i) out.push_back(Get(i));
    return out;
}

std::string TStringList::Get(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<std::size_t>(index)];
}

void TStringList::Put(int index, const std::string& text) {
    CheckIndex(index, Count());
    items_[static_cast<std::size_t>(index)] = text;
}

void TStringList::Insert(int index, const std::string& text) {
    CheckIndex(index, Count() + 1);
    items_.insert(items_.begin() + index, text);
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count());
    items_.erase(items_.begin() + index);
}
