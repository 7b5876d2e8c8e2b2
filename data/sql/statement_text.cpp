#include "data/sql/statement_text.h"

#include <cctype>
#include <cstdio>

#include "data/data_error.h"
#include "data/date_time.h"
#include "data/shown_text.h"

namespace tabulix::data {

namespace {

// Where the statement's text ends: the text without trailing blanks, comments and semicolons.
// Raises when anything but those follows a semicolon outside quotes and comments.
std::string oneStatement(const std::string& sql, const std::string& where) {
    std::size_t end = 0;          // after the last character that is part of the statement
    bool afterSemicolon = false;
    for (std::size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            while (i < sql.size() && sql[i] != '\n') ++i;
            continue;
        }
        if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            int depth = 0;
            do {
                if (sql.compare(i, 2, "/*") == 0) ++depth, i += 2;
                else if (sql.compare(i, 2, "*/") == 0) --depth, i += 2;
                else ++i;
            } while (depth > 0 && i < sql.size());
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (c == ';') {
            afterSemicolon = true;
            ++i;
            continue;
        }
        if (afterSemicolon) throw EDatabaseError(where + ": the SQL text holds more than one statement");
        if (c == '\'' || c == '"') {
            const bool escapes = c == '\'' && i > 0 && (sql[i - 1] == 'E' || sql[i - 1] == 'e');
            for (++i; i < sql.size(); ++i) {
                if (escapes && sql[i] == '\\') ++i;
                else if (sql[i] == c && (i + 1 >= sql.size() || sql[i + 1] != c)) break;
                else if (sql[i] == c) ++i;
            }
            end = ++i;
            continue;
        }
        if (c == '$') {
            std::size_t tagEnd = i + 1;
            while (tagEnd < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[tagEnd])) || sql[tagEnd] == '_'))
                ++tagEnd;
            if (tagEnd < sql.size() && sql[tagEnd] == '$' && !std::isdigit(static_cast<unsigned char>(sql[i + 1]))) {
                const std::string tag = sql.substr(i, tagEnd - i + 1);
                const std::size_t close = sql.find(tag, tagEnd + 1);
                i = close == std::string::npos ? sql.size() : close + tag.size();
                end = i;
                continue;
            }
        }
        end = ++i;
    }
    return sql.substr(0, end);
}

// Refuses what is not a statement that reads, before the server sees it.
void requireReading(const std::string& sql, const std::string& where) {
    std::size_t i = 0;
    for (;;) {
        while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
        if (sql.compare(i, 2, "--") == 0) {
            i = sql.find('\n', i);
            if (i == std::string::npos) i = sql.size();
        } else if (sql.compare(i, 2, "/*") == 0) {
            const std::size_t close = sql.find("*/", i + 2);
            i = close == std::string::npos ? sql.size() : close + 2;
        } else {
            break;
        }
    }
    if (i >= sql.size()) throw EDatabaseError(where + ": the SQL text holds no statement");
    if (sql[i] == '(') return;
    std::string word;
    while (i < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i])))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[i++])));
    if (word != "SELECT" && word != "WITH" && word != "VALUES" && word != "TABLE")
        throw EDatabaseError(where + ": only statements that read (SELECT, WITH, VALUES, TABLE) can be opened, not " +
                             (word.empty() ? std::string("this text") : shown(word)));
}

}  // namespace

using automation::Variant;
using automation::VariantType;

std::string readingStatement(const std::string& sql, const std::string& who) {
    std::string statement = oneStatement(sql, who);
    requireReading(statement, who);
    return statement;
}

std::optional<std::string> parameterText(const Variant& value) {
    switch (value.type()) {
        case VariantType::Empty:
        case VariantType::Null: return std::nullopt;
        case VariantType::Boolean: return value.toBool() ? "true" : "false";
        case VariantType::Int32:
        case VariantType::Int64: return std::to_string(value.toInt64());
        case VariantType::Double: {
            char text[40];
            std::snprintf(text, sizeof text, "%.17g", value.toDouble());
            return text;
        }
        case VariantType::Currency: {
            const std::int64_t scaled = value.toCurrency().scaled;
            const std::uint64_t magnitude = scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : scaled;
            char text[40];
            std::snprintf(text, sizeof text, "%s%llu.%04llu", scaled < 0 ? "-" : "",
                          static_cast<unsigned long long>(magnitude / 10000),
                          static_cast<unsigned long long>(magnitude % 10000));
            return text;
        }
        case VariantType::Date: return formatIsoDateTime(value.toDate());
        default: return value.toText();
    }
}

}  // namespace tabulix::data
