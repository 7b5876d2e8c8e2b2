#pragma once
/// @file
/// TStringList: an ordered list of texts, the framework's general-purpose string container
/// (database parameters, formula records, stored lists in form files). Indexes are 0-based; a
/// bad index raises EStringListError with the framework's message "List index out of bounds (n)".
///
/// Thread rule: one thread at a time, like the component that owns the list.

#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/export.h"
#include "framework/persistent.h"

namespace tabulix::framework {

/// @brief An index outside a string list: "List index out of bounds (n)".
/// @threads Thrown on the thread of the failed call.
class TABULIX_API EStringListError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

/// @brief An ordered list of texts: database parameters, formula records, lists stored in form
/// files, and the names Libros and Hojas return. Indexes count from 0.
/// @threads A list is used from one thread at a time.
class TABULIX_API TStringList : public TPersistent {
public:
    /// Makes an empty list.
    TStringList() = default;
    /// Makes a list of the given lines.
    /// @param lines the lines, in order.
    TStringList(std::initializer_list<std::string> lines);

    std::string ClassName() const override { return "TStringList"; }

    /// The number of lines.
    int Count() const { return static_cast<int>(lines_.size()); }
    /// A line.
    /// @param index from 0.
    /// @throws EStringListError for an index outside 0 to Count() - 1.
    const std::string& Strings(int index) const;
    /// Replaces a line.
    /// @param index from 0.
    /// @param value the new text.
    /// @throws EStringListError for an index outside 0 to Count() - 1.
    void SetStrings(int index, const std::string& value);

    /// Adds a line at the end, or at its sorted place when Sorted.
    /// @param value the text.
    /// @return the index it landed at.
    int Add(const std::string& value);
    /// Inserts a line.
    /// @param index the line it goes before, 0 to Count().
    /// @param value the text.
    /// @throws EStringListError for an index outside 0 to Count(), or on a sorted list.
    void Insert(int index, const std::string& value);
    /// Removes a line.
    /// @param index from 0.
    /// @throws EStringListError for an index outside 0 to Count() - 1.
    void Delete(int index);
    /// Removes every line.
    void Clear();
    /// Copies the lines of another list (not its OnChange).
    /// @param source the list to copy.
    void Assign(const TStringList& source);
    /// The first line equal to a text.
    /// @param value the text, compared exactly.
    /// @return its index, or -1.
    int IndexOf(const std::string& value) const;

    /// The NAME of a line NAME=VALUE, as database parameters are kept.
    /// @param index from 0.
    /// @return the text before the first "=", or an empty text when there is none.
    /// @throws EStringListError for an index outside 0 to Count() - 1.
    std::string Names(int index) const;
    /// The first line NAME=VALUE of a name.
    /// @param name the name, ASCII letter case ignored.
    /// @return its index, or -1.
    int IndexOfName(const std::string& name) const;
    /// The VALUE of the line NAME=VALUE of a name.
    /// @param name the name, ASCII letter case ignored.
    /// @return the value, or an empty text when there is no such line.
    std::string Values(const std::string& name) const;
    /// Replaces the value of NAME, adds NAME=VALUE when absent, removes the line when the value is
    /// empty.
    /// @param name the name, ASCII letter case ignored.
    /// @param value the value.
    void SetValues(const std::string& name, const std::string& value);

    /// Every line, each followed by "\r\n".
    std::string Text() const;
    /// Replaces the lines by those of a text, split at CR LF, CR or LF.
    /// @param text the text.
    void SetText(const std::string& text);

    /// Whether the list keeps its lines in ascending order (ASCII letter case ignored; duplicates
    /// are kept). Off by default.
    bool Sorted() const { return sorted_; }
    /// Keeps the lines sorted from now on (sorting them at once), or stops.
    /// @param value true to sort.
    void SetSorted(bool value);

    /// The lines.
    const std::vector<std::string>& Lines() const { return lines_; }
    /// Whether two lists hold the same lines in the same order.
    /// @param other the other list.
    bool operator==(const TStringList& other) const { return lines_ == other.lines_; }

    /// Called after every change of the contents.
    std::function<void()> OnChange;

private:
    void checkIndex(int index, int limit) const;
    void changed();

    std::vector<std::string> lines_;
    bool sorted_ = false;
};

}  // namespace tabulix::framework
