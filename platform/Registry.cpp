#include "platform/Registry.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cctype>
#include <optional>
#include <vector>

#include "platform/Exception.h"
#include "platform/Strings.h"

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00";
const char kRoot[] = "HKEY_LOCAL_MACHINE";

std::string Fold(const std::string& text) {
    return FromQString(ToQString(text).toCaseFolded());
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// Splits a key path at its backslashes, dropping empty parts ("\A\\B\" is A\B). Returns
// nothing for a name with control characters: such a key cannot stand in a section line.
std::optional<std::vector<std::string>> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string JoinPath(const std::vector<std::string>& parts) {
    std::string path;
    for (const std::string& part : parts) path += (path.empty() ? "" : "\\") + part;
    return path;
}

using Values = std::map<std::string, TRegistry::Value>;
using Keys = std::map<std::string, Values>;  // by case-folded path without the root

bool KeyExists(const Keys& keys, const std::string& foldedPath) {
    if (foldedPath.empty()) return true;  // the root itself
    if (keys.count(foldedPath)) return true;
    // A subkey implies its parents.
    const std::string prefix = foldedPath + "\\";
    const auto next = keys.lower_bound(prefix);
    return next != keys.end() && next->first.compare(0, prefix.size(), prefix) == 0;
}

// Reads a "..." text starting at line[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> ReadQuoted(const std::string& line, std::size_t& pos) {
    std::string text;
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return text;
        }
        if (c == '\\' && pos + 1 < line.size() && (line[pos + 1] == '\\' || line[pos + 1] == '"')) {
            text += line[++pos];
        } else {
            text += c;
        }
    }
    return std::nullopt;  // unterminated
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

class Parser {
public:
    explicit Parser(const std::string& content) {
        std::size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        while (start <= content.size()) {
            std::size_t end = content.find('\n', start);
            if (end == std::string::npos) end = content.size();
            std::string line = content.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines_.push_back(std::move(line));
            start = end + 1;
        }
    }

    Keys Parse() {
        for (index_ = 0; index_ < lines_.size(); ++index_) {
            const std::string line = Trimmed(lines_[index_]);
            if (line.empty()) continue;
            if (line.front() == '[') {
                Section(line);
            } else if ((line.front() == '"' || line.front() == '@') && current_) {
                Value(line);
            }
        }
        return std::move(keys_);
    }

private:
    void Section(const std::string& line) {
        current_ = nullptr;
        if (line.back() != ']') return;
        std::string name = line.substr(1, line.size() - 2);
        const bool remove = !name.empty() && name.front() == '-';
        if (remove) name.erase(0, 1);
        const auto parts = SplitPath(name);
        if (!parts || parts->empty() || Fold(parts->front()) != Fold(kRoot)) return;
        const std::string path = Fold(JoinPath({parts->begin() + 1, parts->end()}));
        if (path.empty()) return;  // the root itself is neither created nor deleted
        if (remove) {
            const std::string prefix = path + "\\";
            for (auto it = keys_.begin(); it != keys_.end();) {
                const bool under =
                    it->first == path || it->first.compare(0, prefix.size(), prefix) == 0;
                it = under ? keys_.erase(it) : std::next(it);
            }
            return;
        }
        current_ = &keys_[path];
    }

    void Value(const std::string& line) {
        std::size_t pos = 0;
        std::string name;
        if (line.front() == '@') {
            pos = 1;
        } else if (auto quoted = ReadQuoted(line, pos)) {
            name = std::move(*quoted);
        } else {
            return;
        }
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        if (pos >= line.size() || line[pos] != '=') return;
        const std::string data = Trimmed(line.substr(pos + 1));
        TRegistry::Value value;
        if (data == "-") {
            current_->erase(Fold(name));
            return;
        } else if (!data.empty() && data.front() == '"') {
            std::size_t end = 0;
            auto text = ReadQuoted(data, end);
            if (!text || end != data.size()) return;
            value.isString = true;
            value.data = std::move(*text);
        } else if (StartsWithNoCase(data, "dword:") || StartsWithNoCase(data, "hex:") ||
                   StartsWithNoCase(data, "hex(")) {
            // Binary data may go on over lines that end in a backslash.
            for (std::string tail = data;
                 !tail.empty() && tail.back() == '\\' && index_ + 1 < lines_.size();) {
                tail = Trimmed(lines_[++index_]);
            }
        } else {
            return;
        }
        (*current_)[Fold(name)] = std::move(value);
    }

    std::vector<std::string> lines_;
    std::size_t index_ = 0;
    Keys keys_;
    Values* current_ = nullptr;
};

struct Store {
    bool exists = false;
    bool readable = true;
    std::string content;
};

Store ReadStore(const QString& fileName) {
    Store store;
    const QFileInfo info(fileName);
    if (!info.exists()) return store;
    store.exists = true;
    QFile file(fileName);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        store.readable = false;
        return store;
    }
    const QByteArray bytes = file.readAll();
    store.readable = file.error() == QFileDevice::NoError;
    store.content = bytes.toStdString();
    return store;
}

// Appends the section of an empty key, keeping every byte of the file; the new text
// takes the file's line ends.
bool AddKey(const QString& fileName, const Store& store, const std::string& path) {
    if (!store.readable || (store.exists && !QFileInfo(fileName).isWritable())) return false;
    std::string content = store.content;
    const std::string newline =
        content.find("\r\n") != std::string::npos || content.find('\n') == std::string::npos
            ? "\r\n"
            : "\n";
    if (content.empty()) content = kHeader + newline;
    if (content.back() != '\n') content += newline;
    content += newline + "[" + kRoot + "\\" + path + "]" + newline;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const auto size = static_cast<qint64>(content.size());
    if (file.write(content.data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

TRegistry::TRegistry(unsigned access) : access_(access) {}

TRegistry::~TRegistry() {
    CloseKey();
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    const bool absolute = !key.empty() && key.front() == '\\';
    const auto parts = SplitPath(absolute || !open_ ? key : currentKey_ + "\\" + key);
    if (!parts) return false;
    const std::string path = JoinPath(*parts);
    const std::string folded = Fold(path);

    const QString fileName = ToQString(RegistryFileName());
    const Store store = ReadStore(fileName);
    Keys keys = Parser(store.content).Parse();
    if (!KeyExists(keys, folded)) {
        if (!canCreate || !AddKey(fileName, store, path)) return false;
        keys[folded];
    }
    const auto found = keys.find(folded);
    values_ = found != keys.end() ? std::move(found->second) : Values();
    currentKey_ = path;
    open_ = true;
    return true;
}

void TRegistry::CloseKey() {
    open_ = false;
    currentKey_.clear();
    values_.clear();
}

std::string TRegistry::ReadString(const std::string& name) {
    const auto found = values_.find(Fold(name));
    if (!open_ || found == values_.end()) return std::string();
    if (!found->second.isString) {
        throw ERegistryException("Invalid data type for '" + name + "'");
    }
    return found->second.data;
}

bool TRegistry::ValueExists(const std::string& name) {
    return open_ && values_.count(Fold(name)) > 0;
}

std::string RegistryFileName() {
    const QByteArray name = qgetenv("KSV720E_REGISTRY");
    return name.isEmpty() ? std::string("ksv720e-registry.reg") : name.toStdString();
}
