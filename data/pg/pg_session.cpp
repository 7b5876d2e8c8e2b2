#include "data/pg/pg_session.h"

#include <cstdlib>
#include <memory>

#include "data/data_error.h"
#include "data/shown_text.h"
#include "framework/utf8_text.h"

namespace tabulix::data {

namespace {

constexpr const char* kHidden = "********";

struct OptionsFreer {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

// libpq's own words, with every quoted fragment left out: a text it cannot read may be a
// password typed in the wrong place.
std::string withoutQuotedText(const char* message) {
    std::string out;
    bool quoted = false;
    for (const char* p = message; p && *p; ++p) {
        if (*p == '"') {
            out += quoted ? "\"" : "\"...";
            quoted = !quoted;
        } else if (!quoted) {
            out += *p;
        }
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

// A value written for a connection string: as it is, or quoted (quotes and backslashes escaped)
// when it is empty or holds a blank, a quote or a backslash.
std::string quotedValue(const std::string& value) {
    if (!value.empty() && value.find_first_of(" \t\n\r'\\") == std::string::npos) return value;
    std::string out = "'";
    for (char c : value) {
        if (c == '\'' || c == '\\') out += '\\';
        out += c;
    }
    return out + "'";
}

std::string trimmedMessage(const char* text) {
    std::string message = text ? text : "";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    return message;
}

// Line and column (1-based, in characters) of the character at 1-based `position` of `sql`,
// taken in `userSql` that begins `offset` bytes into it; and a few characters from there.
std::string placeInSql(std::string_view sql, long position, std::string_view userSql, std::size_t offset) {
    std::size_t at = 0;
    for (long n = 1; n < position && at < sql.size(); ++n) {
        const auto decoded = framework::utf8::decode(sql, at);
        at += decoded ? decoded->length : 1;
    }
    if (at < offset || at - offset > userSql.size()) return {};
    const std::size_t in = at - offset;
    long line = 1, column = 1;
    for (std::size_t i = 0; i < in;) {
        if (userSql[i] == '\n') {
            ++line, column = 1, ++i;
            continue;
        }
        const auto decoded = framework::utf8::decode(userSql, i);
        i += decoded ? decoded->length : 1;
        ++column;
    }
    std::string near(userSql.substr(in, 30));
    return " (line " + std::to_string(line) + ", column " + std::to_string(column) + " of the SQL, at '" +
           shown(near) + "')";
}

}  // namespace

PgConnectionText splitConnectionText(const std::string& text, const std::string& who) {
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, OptionsFreer> options(PQconninfoParse(text.c_str(), &error));
    if (!options) {
        const std::string reason = error ? withoutQuotedText(error) : "out of memory";
        PQfreemem(error);
        throw EDatabaseError(who + ": the connection string cannot be read: " + shownMessage(reason));
    }
    PgConnectionText split;
    bool hasPassword = false;
    for (const PQconninfoOption* option = options.get(); option->keyword; ++option)
        if (option->val && std::string_view(option->keyword) == "password") {
            hasPassword = true;
            split.password = option->val;
        }
    if (!hasPassword) {
        split.withoutPassword = text;
        return split;
    }
    for (const PQconninfoOption* option = options.get(); option->keyword; ++option) {
        if (!option->val || std::string_view(option->keyword) == "password") continue;
        if (!split.withoutPassword.empty()) split.withoutPassword += ' ';
        split.withoutPassword += std::string(option->keyword) + "=" + quotedValue(option->val);
    }
    return split;
}

PgSession::PgSession(const std::string& connectionText, const std::string& service, const std::string& password,
                     const std::string& who) {
    const PgConnectionText split = splitConnectionText(connectionText, who);
    // What the connection string (expanded from dbname) says wins over the keywords before it and
    // gives way to the ones after it.
    std::vector<const char*> keywords{"fallback_application_name"};
    std::vector<const char*> values{"tabulix"};
    if (!service.empty()) {
        keywords.push_back("service");
        values.push_back(service.c_str());
    }
    keywords.insert(keywords.end(), {"dbname", "client_encoding"});
    values.insert(values.end(), {connectionText.c_str(), "UTF8"});
    if (!password.empty()) {
        keywords.push_back("password");
        values.push_back(password.c_str());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    for (const std::string& secret : {split.password, password}) if (!secret.empty()) secrets_.push_back(secret);
    if (const char* fromEnvironment = std::getenv("PGPASSWORD"); fromEnvironment && *fromEnvironment)
        secrets_.push_back(fromEnvironment);

    // expand_dbname = 1: the dbname value is the whole connection string (or a plain name); an
    // empty one leaves everything to the environment and the defaults.
    connection_.reset(PQconnectdbParams(keywords.data(), values.data(), 1));
    if (!connection_) throw EDatabaseError(who + ": out of memory");
    if (const char* used = PQpass(connection_.get()); used && *used) secrets_.push_back(used);
    PQsetNoticeProcessor(connection_.get(), [](void*, const char*) {}, nullptr);
    const char* host = PQhost(connection_.get());
    const char* port = PQport(connection_.get());
    const char* database = PQdb(connection_.get());
    where_ = who + " (host " + shown(host && *host ? host : "(default)") + ", port " + shown(port ? port : "") +
             ", database " + shown(database ? database : "") + ")";
    if (PQstatus(connection_.get()) != CONNECTION_OK)
        throw EDatabaseError(where_ + ": cannot connect: " +
                             shownMessage(hidden(trimmedMessage(PQerrorMessage(connection_.get())))));
    run("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY", {}, PGRES_COMMAND_OK, "setting up the session");
    run("SET DateStyle TO ISO, YMD; SET lc_monetary TO 'C'; SET bytea_output TO hex; SET extra_float_digits TO 3",
        {}, PGRES_COMMAND_OK, "setting up the session");
    run("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", {}, PGRES_COMMAND_OK, "beginning the snapshot");
}

std::string PgSession::hidden(std::string text) const {
    for (const std::string& secret : secrets_)
        for (std::size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 8))
            text.replace(at, secret.size(), kHidden);
    return text;
}

PgResult PgSession::run(const std::string& sql, const std::vector<const char*>& parameters, ExecStatusType expected,
                        std::string_view doing, std::string_view userSql, std::size_t offset) {
    PgResult result(parameters.empty() && userSql.empty()
                        ? PQexec(connection_.get(), sql.c_str())
                        : PQexecParams(connection_.get(), sql.c_str(), static_cast<int>(parameters.size()), nullptr,
                                       parameters.data(), nullptr, nullptr, 0));
    if (!result || PQresultStatus(result.get()) != expected) fail(result.get(), doing, sql, userSql, offset);
    return result;
}

void PgSession::fail(const PGresult* result, std::string_view doing, std::string_view sql, std::string_view userSql,
                     std::size_t offset) const {
    std::string message;
    std::string place;
    if (result && PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY)) {
        message = trimmedMessage(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
        if (const char* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL))
            message += " (" + trimmedMessage(detail) + ")";
        if (const char* position = PQresultErrorField(result, PG_DIAG_STATEMENT_POSITION); position && !userSql.empty())
            place = placeInSql(sql, std::atol(position), userSql, offset);
    } else if (result && PQresultStatus(result) == PGRES_TUPLES_OK) {
        message = "the statement returns rows where none were expected";
    } else {
        message = trimmedMessage(PQerrorMessage(connection_.get()));
        if (message.empty()) message = "the server gave no answer";
    }
    throw EDatabaseError(where_ + ": " + std::string(doing) + ": " + shownMessage(hidden(message)) + hidden(place));
}

}  // namespace tabulix::data
