#include "framework/string_list.h"

#include <algorithm>

#include "framework/text_compare.h"

namespace tabulix::framework {

TStringList::TStringList(std::initializer_list<std::string> lines) : lines_(lines) {}

void TStringList::checkIndex(int index, int limit) const {
    if (index < 0 || index >= limit)
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStringList::changed() {
    if (OnChange) OnChange();
}

const std::string& TStringList::Strings(int index) const {
    checkIndex(index, Count());
    return lines_[static_cast<std::size_t>(index)];
}

void TStringList::SetStrings(int index, const std::string& value) {
    checkIndex(index, Count());
    if (sorted_) {
        lines_.erase(lines_.begin() + index);
        Add(value);
        return;
    }
    lines_[static_cast<std::size_t>(index)] = value;
    changed();
}

int TStringList::Add(const std::string& value) {
    std::size_t at = lines_.size();
    if (sorted_) {
        auto it = std::upper_bound(lines_.begin(), lines_.end(), value,
                                   [](const std::string& a, const std::string& b) { return compareText(a, b) < 0; });
        at = static_cast<std::size_t>(it - lines_.begin());
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), value);
    changed();
    return static_cast<int>(at);
}

void TStringList::Insert(int index, const std::string& value) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted list");
    checkIndex(index, Count() + 1);
    lines_.insert(lines_.begin() + index, value);
    changed();
}

void TStringList::Delete(int index) {
    checkIndex(index, Count());
    lines_.erase(lines_.begin() + index);
    changed();
}

void TStringList::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    changed();
}

void TStringList::Assign(const TStringList& source) {
    if (&source == this) return;
    lines_ = source.lines_;
    if (sorted_) std::stable_sort(lines_.begin(), lines_.end(),
                                  [](const std::string& a, const std::string& b) { return compareText(a, b) < 0; });
    changed();
}

int TStringList::IndexOf(const std::string& value) const {
    auto it = std::find(lines_.begin(), lines_.end(), value);
    return it == lines_.end() ? -1 : static_cast<int>(it - lines_.begin());
}

std::string TStringList::Names(int index) const {
    const std::string& line = Strings(index);
    auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

int TStringList::IndexOfName(const std::string& name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto eq = lines_[i].find('=');
        if (eq != std::string::npos && sameText(lines_[i].substr(0, eq), name)) return static_cast<int>(i);
    }
    return -1;
}

std::string TStringList::Values(const std::string& name) const {
    int i = IndexOfName(name);
    if (i < 0) return {};
    const std::string& line = lines_[static_cast<std::size_t>(i)];
    return line.substr(line.find('=') + 1);
}

void TStringList::SetValues(const std::string& name, const std::string& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i >= 0) {
        SetStrings(i, name + "=" + value);
    } else {
        Add(name + "=" + value);
    }
}

std::string TStringList::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TStringList::SetText(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    lines_ = std::move(lines);
    if (sorted_) std::stable_sort(lines_.begin(), lines_.end(),
                                  [](const std::string& a, const std::string& b) { return compareText(a, b) < 0; });
    changed();
}

void TStringList::SetSorted(bool value) {
    if (sorted_ == value) return;
    sorted_ = value;
    if (sorted_ && lines_.size() > 1) {
        std::stable_sort(lines_.begin(), lines_.end(),
                         [](const std::string& a, const std::string& b) { return compareText(a, b) < 0; });
        changed();
    }
}

}  // namespace tabulix::framework
