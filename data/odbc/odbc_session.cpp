#include "data/odbc/odbc_session.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "data/data_error.h"
#include "data/odbc/odbc_text.h"
#include "data/shown_text.h"

namespace tabulix::data {

namespace {

constexpr const char* kHidden = "********";

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool isPasswordKey(const std::string& key) { return upper(key) == "PWD" || upper(key) == "PASSWORD"; }

std::string trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return std::string(text);
}

// A value written for a connection string: braced (closing braces doubled) when it holds what
// would end it or be read otherwise.
std::string writtenValue(const std::string& value) {
    const bool plain = value.find_first_of(";{}") == std::string::npos &&
                       (value.empty() || (!std::isspace(static_cast<unsigned char>(value.front())) &&
                                          !std::isspace(static_cast<unsigned char>(value.back()))));
    if (plain) return value;
    std::string out = "{";
    for (char c : value) {
        out += c;
        if (c == '}') out += '}';
    }
    return out + "}";
}

// The diagnostic records of a handle: "message [SQLSTATE]; ...".
std::string diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string out;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[1024];
        SQLSMALLINT length = 0;
        const SQLRETURN status =
            SQLGetDiagRecW(type, handle, record, state, &native, message, SQLSMALLINT(std::size(message)), &length);
        if (!SQL_SUCCEEDED(status)) break;
        std::string text = fromOdbcText(message, std::min<std::size_t>(length, std::size(message) - 1));
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
        if (!out.empty()) out += "; ";
        out += text + " [" + fromOdbcText(state, 5) + "]";
    }
    return out.empty() ? "the driver gave no reason" : out;
}

std::string info(SQLHDBC connection, SQLUSMALLINT what) {
    SQLWCHAR text[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(connection, what, text, sizeof text, &length))) return {};
    return fromOdbcText(text, std::min<std::size_t>(static_cast<std::size_t>(length) / sizeof(SQLWCHAR),
                                                    std::size(text) - 1));
}

}  // namespace

OdbcConnectionText splitOdbcConnectionText(const std::string& text, const std::string& who) {
    OdbcConnectionText split;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t equals = text.find('=', i);
        const std::size_t semicolon = text.find(';', i);
        if (equals == std::string::npos || (semicolon != std::string::npos && semicolon < equals)) {
            // A part without "=": kept as it is (drivers ignore or refuse it themselves).
            const std::string part = trimmed(text.substr(i, semicolon == std::string::npos ? std::string::npos
                                                                                           : semicolon - i));
            if (!part.empty()) split.withoutPassword += (split.withoutPassword.empty() ? "" : ";") + part;
            i = semicolon == std::string::npos ? text.size() : semicolon + 1;
            continue;
        }
        const std::string key = trimmed(std::string_view(text).substr(i, equals - i));
        std::size_t at = equals + 1;
        while (at < text.size() && text[at] == ' ') ++at;
        std::string value;
        if (at < text.size() && text[at] == '{') {
            for (++at;; ++at) {
                if (at >= text.size())
                    throw EDatabaseError(who + ": a value of the connection string opens a brace that never closes" +
                                         " (after " + shown(key) + "=)");
                if (text[at] == '}' && at + 1 < text.size() && text[at + 1] == '}') {
                    value += '}';
                    ++at;
                } else if (text[at] == '}') {
                    ++at;
                    break;
                } else {
                    value += text[at];
                }
            }
            const std::size_t end = text.find(';', at);
            i = end == std::string::npos ? text.size() : end + 1;
        } else {
            const std::size_t end = text.find(';', at);
            value = trimmed(std::string_view(text).substr(at, end == std::string::npos ? std::string::npos : end - at));
            i = end == std::string::npos ? text.size() : end + 1;
        }
        if (isPasswordKey(key)) {
            split.password = value;
            continue;
        }
        if (!split.withoutPassword.empty()) split.withoutPassword += ';';
        split.withoutPassword += key + "=" + writtenValue(value);
    }
    return split;
}

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent, const std::string& who) : type_(type) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle_))) {
        handle_ = SQL_NULL_HANDLE;
        throw EDatabaseError(who + ": the ODBC driver manager cannot allocate a handle");
    }
}

OdbcHandle::~OdbcHandle() {
    if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
}

OdbcSession::OdbcSession(const std::string& connectionText, const std::string& password, const std::string& who)
    : password_(password), environment_(SQL_HANDLE_ENV, SQL_NULL_HANDLE, who),
      where_(who + " (" + shownMessage(connectionText) + ")") {
    SQLSetEnvAttr(environment_.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    connection_ = std::make_unique<OdbcHandle>(SQL_HANDLE_DBC, environment_.get(), who);
    // The destructor does not run for a constructor that fails: disconnect here.
    try {
        std::string full = connectionText;
        if (!password_.empty())
            full += (full.empty() || full.back() == ';' ? "PWD=" : ";PWD=") + writtenValue(password_);
        connect(full);
        // psqlODBC gathers a whole result in memory unless it reads through a cursor, and describes
        // Booleans as text unless told otherwise: connect again so, unless the string says.
        if (upper(info(connection_->get(), SQL_DRIVER_NAME)).starts_with("PSQLODBC")) {
            std::string settings;
            if (upper(connectionText).find("USEDECLAREFETCH") == std::string::npos) settings += ";UseDeclareFetch=1";
            if (upper(connectionText).find("BOOLSASCHAR") == std::string::npos) settings += ";BoolsAsChar=0";
            if (!settings.empty()) {
                SQLDisconnect(connection_->get());
                connected_ = false;
                connect(full + settings);
            }
        }

        const std::string dbms = info(connection_->get(), SQL_DBMS_NAME);
        const std::string source = info(connection_->get(), SQL_DATA_SOURCE_NAME);
        const std::string server = info(connection_->get(), SQL_SERVER_NAME);
        const std::string database = info(connection_->get(), SQL_DATABASE_NAME);
        std::string place = dbms.empty() ? "ODBC" : shown(dbms);
        if (!source.empty()) place += ", data source " + shown(source);
        if (!server.empty() && server != source) place += ", server " + shown(server);
        if (!database.empty()) place += ", database " + shownPath(database);
        where_ = hidden(who + " (" + place + ")");

        // Not every driver offers these; the statement is checked to read in any case.
        SQLSetConnectAttr(connection_->get(), SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY),
                          0);
        SQLUINTEGER levels = 0;
        if (SQL_SUCCEEDED(SQLGetInfo(connection_->get(), SQL_TXN_ISOLATION_OPTION, &levels, sizeof levels, nullptr))) {
            const SQLUINTEGER level = (levels & SQL_TXN_REPEATABLE_READ) ? SQL_TXN_REPEATABLE_READ
                                      : (levels & SQL_TXN_SERIALIZABLE) ? SQL_TXN_SERIALIZABLE
                                                                        : 0;
            if (level)
                SQLSetConnectAttr(connection_->get(), SQL_ATTR_TXN_ISOLATION,
                                  reinterpret_cast<SQLPOINTER>(SQLULEN(level)), 0);
        }
        // Manual commit: the statements of the session read one transaction, ended by the rollback
        // in the destructor.
        check(SQLSetConnectAttr(connection_->get(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                0),
              SQL_HANDLE_DBC, connection_->get(), "cannot begin a transaction");
    } catch (...) {
        if (connected_) SQLDisconnect(connection_->get());
        throw;
    }
}

void OdbcSession::connect(const std::string& text) {
    const OdbcText wide = toOdbcText(text);
    SQLSMALLINT length = 0;
    check(SQLDriverConnectW(connection_->get(), nullptr, const_cast<SQLWCHAR*>(wide.c_str()), SQLSMALLINT(wide.size()),
                            nullptr, 0, &length, SQL_DRIVER_NOPROMPT),
          SQL_HANDLE_DBC, connection_->get(), "cannot connect");
    connected_ = true;
}

OdbcSession::~OdbcSession() {
    if (!connected_) return;
    SQLEndTran(SQL_HANDLE_DBC, connection_->get(), SQL_ROLLBACK);
    SQLDisconnect(connection_->get());
}

void OdbcSession::check(SQLRETURN status, SQLSMALLINT type, SQLHANDLE handle, std::string_view doing) const {
    if (SQL_SUCCEEDED(status)) return;
    throw EDatabaseError(where_ + ": " + std::string(doing) + ": " + shownMessage(hidden(diagnostics(type, handle))));
}

std::string OdbcSession::hidden(std::string text) const {
    if (password_.empty()) return text;
    for (std::size_t at = text.find(password_); at != std::string::npos; at = text.find(password_, at + 8))
        text.replace(at, password_.size(), kHidden);
    return text;
}

}  // namespace tabulix::data
