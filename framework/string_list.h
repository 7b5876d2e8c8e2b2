#pragma once
// TStringList: an ordered list of texts, the framework's general-purpose string container
// (database parameters, formula records, stored lists in form files). Indexes are 0-based; a
// bad index raises EStringListError with the framework's message "List index out of bounds (n)".
//
// Thread rule: one thread at a time, like the component that owns the list.

#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/persistent.h"

namespace tabulix::framework {

class EStringListError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

class TStringList : public TPersistent {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines);

    std::string ClassName() const override { return "TStringList"; }

    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& Strings(int index) const;
    void SetStrings(int index, const std::string& value);

    // Adds at the end (or at its sorted place when Sorted); returns the index it landed at.
    int Add(const std::string& value);
    // Inserts before `index` (0..Count); not allowed on a sorted list.
    void Insert(int index, const std::string& value);
    void Delete(int index);
    void Clear();
    // Copies the lines of `source` (not its OnChange hook).
    void Assign(const TStringList& source);
    // First index of `value` (exact comparison), or -1.
    int IndexOf(const std::string& value) const;

    // Lines of the form NAME=VALUE, as database parameters are kept. Names compare ignoring
    // ASCII letter case.
    std::string Names(int index) const;
    int IndexOfName(const std::string& name) const;
    std::string Values(const std::string& name) const;  // "" when absent
    // Replaces the value of NAME, adds NAME=VALUE when absent, removes the line when value is "".
    void SetValues(const std::string& name, const std::string& value);

    // All lines, each followed by "\r\n". Setting splits at CR LF, CR or LF.
    std::string Text() const;
    void SetText(const std::string& text);

    // A sorted list keeps its lines in ascending order (ASCII letter case ignored); duplicates
    // are kept either way. Off by default.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);

    const std::vector<std::string>& Lines() const { return lines_; }
    bool operator==(const TStringList& other) const { return lines_ == other.lines_; }

    // Called after every change of the contents.
    std::function<void()> OnChange;

private:
    void checkIndex(int index, int limit) const;
    void changed();

    std::vector<std::string> lines_;
    bool sorted_ = false;
};

}  // namespace tabulix::framework
