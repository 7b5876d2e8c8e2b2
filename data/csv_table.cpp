#include "data/csv_table.h"

#include <fstream>

#include "data/code_page.h"
#include "data/csv/csv_reader.h"
#include "data/csv/csv_values.h"
#include "data/data_error.h"
#include "data/shown_text.h"
#include "framework/property_list.h"
#include "framework/text_compare.h"
#include "framework/utf8_text.h"

namespace tabulix::data {

using automation::Variant;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSampleBytes = 64 * 1024;
constexpr int kGuessRecords = 1000;

std::string sample(const fs::path& path, const std::string& where) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EDatabaseError(where + ": cannot open the file");
    std::string bytes(kSampleBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// Well-formed UTF-8, allowing a sequence cut short by the end of the sample.
bool looksUtf8(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (const auto decoded = framework::utf8::decode(bytes, at)) {
            at += decoded->length;
            continue;
        }
        return bytes.size() - at < 4 && bytes.size() == kSampleBytes;
    }
    return true;
}

// The candidate that the first line holds most often outside quotes; ',' when none.
char detectDelimiter(std::string_view bytes) {
    constexpr char kCandidates[] = {',', ';', '\t', '|'};
    int counts[4] = {0, 0, 0, 0};
    bool quoted = false;
    for (char c : bytes) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') break;
        for (int i = 0; i < 4; ++i)
            if (c == kCandidates[i]) ++counts[i];
    }
    int best = 0;
    for (int i = 1; i < 4; ++i)
        if (counts[i] > counts[best]) best = i;
    return kCandidates[best];
}

std::string trimmedName(const std::string& text) {
    std::size_t from = 0, to = text.size();
    while (from < to && (text[from] == ' ' || text[from] == '\t')) ++from;
    while (to > from && (text[to - 1] == ' ' || text[to - 1] == '\t')) --to;
    return text.substr(from, to - from);
}

std::string ordinal(std::size_t n) { return std::to_string(n) + (n == 1 ? "st" : n == 2 ? "nd" : n == 3 ? "rd" : "th"); }

std::string typeWords(TFieldType type) {
    switch (type) {
        case TFieldType::ftLargeint:
        case TFieldType::ftInteger:
        case TFieldType::ftSmallint:
        case TFieldType::ftWord:
        case TFieldType::ftAutoInc: return "a whole number";
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency:
        case TFieldType::ftBCD: return "a number";
        case TFieldType::ftBoolean: return "a Boolean value";
        case TFieldType::ftTime: return "a time of day";
        default: return "a date";
    }
}

}  // namespace

TCsvTable::TCsvTable(framework::TComponent* owner) : TDataSet(owner) {}

TCsvTable::~TCsvTable() { Close(); }

void TCsvTable::DefineProperties(framework::PropertyList& p) {
    TDataSet::DefineProperties(p);
    p.Text("FileName", [this] { return fileName_; }, [this](std::string v) { SetFileName(v); });
    p.Text("Delimiter", [this] { return delimiter_; }, [this](std::string v) { SetDelimiter(v); });
    p.Integer<int>("CodePage", [this] { return requestedCodePage_; }, [this](int v) { SetCodePage(v); }).Default(0);
    p.Boolean("HeaderLine", [this] { return headerLine_; }, [this](bool v) { SetHeaderLine(v); }).Default(true);
    p.Text("DecimalSeparator", [this] { return decimalSeparator_; }, [this](std::string v) { SetDecimalSeparator(v); });
    p.Text("DateOrder", [this] { return dateOrder_; }, [this](std::string v) { SetDateOrder(v); });
}

namespace {

void refuseWhileOpen(const TCsvTable& table, const char* what) {
    if (table.Active())
        throw EDatabaseError(std::string("Cannot change ") + what + " of CSV table " + table.DisplayName() +
                             " while it is open");
}

}  // namespace

void TCsvTable::SetFileName(const std::string& name) {
    refuseWhileOpen(*this, "the file");
    fileName_ = name;
}

void TCsvTable::SetDelimiter(const std::string& delimiter) {
    refuseWhileOpen(*this, "the delimiter");
    const bool tab = delimiter == "\t" || framework::sameText(delimiter, "TAB") || delimiter == "\\t";
    if (!delimiter.empty() && !tab &&
        (delimiter.size() != 1 || delimiter[0] == '"' || delimiter[0] == '\r' || delimiter[0] == '\n'))
        throw EDatabaseError("CSV table " + DisplayName() + ": the delimiter must be one character (or TAB), not '" +
                             shown(delimiter) + "'");
    delimiter_ = tab ? std::string("TAB") : delimiter;
}

void TCsvTable::SetCodePage(int page) {
    refuseWhileOpen(*this, "the code page");
    if (page != 0) data::CodePage check(page);  // refuses a page this system cannot convert
    requestedCodePage_ = page;
}

void TCsvTable::SetHeaderLine(bool value) {
    refuseWhileOpen(*this, "HeaderLine");
    headerLine_ = value;
}

void TCsvTable::SetDecimalSeparator(const std::string& separator) {
    refuseWhileOpen(*this, "the decimal separator");
    if (!separator.empty() && separator != "." && separator != ",")
        throw EDatabaseError("CSV table " + DisplayName() + ": the decimal separator must be '.' or ',', not '" +
                             shown(separator) + "'");
    decimalSeparator_ = separator;
}

void TCsvTable::SetDateOrder(const std::string& order) {
    refuseWhileOpen(*this, "the date order");
    if (!csvDateOrderFromName(order))
        throw EDatabaseError("CSV table " + DisplayName() + ": the date order must be DMY, MDY or YMD, not '" +
                             shown(order) + "'");
    dateOrder_ = order;
}

int TCsvTable::CodePage() const { return codePage_ ? codePage_->number() : requestedCodePage_; }

fs::path TCsvTable::resolvedPath() const {
    fs::path path(fileName_);
    if (path.is_relative()) path = (baseFolder_.empty() ? fs::current_path() : baseFolder_) / path;
    return path;
}

std::vector<fs::path> TCsvTable::SourceFiles() const {
    if (!Active()) return {};
    return {path_};
}

std::string TCsvTable::SourceDescription() const { return "CSV file " + shownPath(resolvedPath()); }

void TCsvTable::syntaxFailed(const CsvSyntaxError& error) const {
    std::string column = "column " + std::to_string(error.column);
    if (static_cast<std::size_t>(error.column) <= columns_.size())
        column += " (" + shown(columns_[static_cast<std::size_t>(error.column - 1)].name) + ")";
    throw EDatabaseError(where_ + ", line " + std::to_string(error.line) + ", " + column + ", character " +
                         std::to_string(error.character) + ": " + error.problem);
}

bool TCsvTable::readRecord(CsvReader& reader, std::vector<std::string>& values) const {
    try {
        for (;;) {
            if (!reader.read(values)) return false;
            if (reader.recordWasBlank() && columns_.size() > 1) continue;
            break;
        }
    } catch (const CsvSyntaxError& error) {
        syntaxFailed(error);
    }
    const std::size_t width = columns_.size();
    if (values.size() < width)
        throw EDatabaseError(where_ + ", line " + std::to_string(reader.recordLine()) + ": " +
                             std::to_string(values.size()) + (values.size() == 1 ? " value" : " values") +
                             " where the header names " + std::to_string(width) + " columns");
    if (values.size() > width)
        throw EDatabaseError(where_ + ", line " + std::to_string(reader.recordLine()) + ", column " +
                             std::to_string(width + 1) + ": a " + ordinal(width + 1) + " value where the header names " +
                             std::to_string(width) + (width == 1 ? " column" : " columns"));
    for (std::string& value : values) value = codePage_->toUtf8(value);
    return true;
}

std::vector<TFieldDef> TCsvTable::describeColumns(const std::vector<std::string>& names) {
    std::vector<TFieldDef> columns;
    std::map<std::string, int> used;
    for (std::size_t c = 0; c < names.size(); ++c) {
        std::string name = trimmedName(names[c]);
        if (name.empty()) name = "COLUMN" + std::to_string(c + 1);
        std::string key = name;
        for (char& ch : key) ch = framework::upperAscii(ch);
        // Field names must differ: a repeated heading gets its position appended.
        if (used[key]++ > 0) name += "_" + std::to_string(c + 1);
        columns.push_back(TFieldDef{name, TFieldType::ftString, 0, 0, {}});
    }
    return columns;
}

std::vector<TFieldDef> TCsvTable::InternalOpen() {
    if (fileName_.empty()) throw EDatabaseError("CSV table " + DisplayName() + " has no FileName");
    path_ = resolvedPath();
    where_ = "CSV file " + shownPath(path_);
    std::error_code error;
    if (!fs::is_regular_file(path_, error)) throw EDatabaseError(where_ + ": the file does not exist");
    fileSize_ = fs::file_size(path_, error);
    modified_ = fs::last_write_time(path_, error);

    const std::string head = sample(path_, where_);
    std::int64_t start = 0;
    if (head.starts_with("\xEF\xBB\xBF")) {
        start = 3;
    } else if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
        throw EDatabaseError(where_ + ": the file is UTF-16 text (it begins with a UTF-16 byte-order mark); save it "
                                      "as UTF-8 or in an 8-bit code page");
    }
    const std::string_view text = std::string_view(head).substr(static_cast<std::size_t>(start));
    if (requestedCodePage_ != 0) {
        codePage_ = std::make_unique<data::CodePage>(requestedCodePage_);
        codePageOrigin_ = "declared";
    } else if (start == 3) {
        codePage_ = std::make_unique<data::CodePage>(data::CodePage::kUtf8);
        codePageOrigin_ = "detected: UTF-8 byte-order mark";
    } else if (looksUtf8(text)) {
        codePage_ = std::make_unique<data::CodePage>(data::CodePage::kUtf8);
        codePageOrigin_ = "detected: the texts are UTF-8";
    } else {
        codePage_ = std::make_unique<data::CodePage>(data::CodePage::kWindows1252);
        codePageOrigin_ = "detected: the texts are not UTF-8";
    }
    if (delimiter_.empty()) {
        activeDelimiter_ = detectDelimiter(text);
        delimiterOrigin_ = "detected";
    } else {
        activeDelimiter_ = delimiter_ == "TAB" ? '\t' : delimiter_[0];
        delimiterOrigin_ = "declared";
    }
    order_ = *csvDateOrderFromName(dateOrder_);

    reader_ = std::make_unique<CsvReader>(path_, activeDelimiter_, where_);
    reader_->seek({start, 1});
    std::vector<std::string> first;
    try {
        while (reader_->read(first) && reader_->recordWasBlank()) {
        }
    } catch (const CsvSyntaxError& syntax) {
        syntaxFailed(syntax);
    }
    if (first.empty()) throw EDatabaseError(where_ + ": the file is empty" + (headerLine_ ? " (no header line)" : ""));
    for (std::string& value : first) value = codePage_->toUtf8(value);
    if (headerLine_) {
        columns_ = describeColumns(first);
        dataOffset_ = reader_->position().offset;
        dataLine_ = reader_->position().line;
    } else {
        columns_ = describeColumns(std::vector<std::string>(first.size()));
        dataOffset_ = start;
        dataLine_ = 1;
    }

    // Types: declared by a persistent field of the column's name, else guessed from the values.
    const char mark = decimalSeparator_.empty() ? 0 : decimalSeparator_[0];
    std::vector<CsvTypeGuess> guesses(columns_.size(), CsvTypeGuess(mark, order_));
    reader_->seek({dataOffset_, dataLine_});
    std::vector<std::string> values;
    for (int n = 0; n < kGuessRecords && readRecord(*reader_, values); ++n)
        for (std::size_t c = 0; c < values.size(); ++c) guesses[c].see(values[c]);
    formats_.clear();
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        CsvColumnFormat format = guesses[c].result();
        const TField* declared = HasPersistentFields() ? FindField(columns_[c].name) : nullptr;
        if (declared) {
            format.type = declared->DataType();
            format.decimalMark = guesses[c].decimalMark();
            if (format.type == TFieldType::ftBCD) columns_[c].size = declared->Size();
        }
        columns_[c].dataType = format.type;
        formats_.push_back(format);
    }
    reader_->seek({dataOffset_, dataLine_});
    index_ = -1;
    return columns_;
}

void TCsvTable::InternalClose() {
    reader_.reset();
    codePage_.reset();
    columns_.clear();
    formats_.clear();
    current_.clear();
    scratch_.clear();
    saved_.clear();
    count_.reset();
    resumeOffset_.reset();
    resumeLine_.reset();
    index_ = -1;
}

void TCsvTable::checkUnchanged() const {
    std::error_code error;
    const auto size = fs::file_size(path_, error);
    const auto modified = fs::last_write_time(path_, error);
    if (error || size != fileSize_ || modified != modified_)
        throw EDatabaseError(where_ + ": the file changed while the table was open; open it again");
}

bool TCsvTable::advance() {
    if (resumeOffset_) {
        checkUnchanged();
        reader_->seek({*resumeOffset_, *resumeLine_});
        resumeOffset_.reset();
        resumeLine_.reset();
    }
    if (!readRecord(*reader_, scratch_)) {
        count_ = index_ + 1;
        return false;
    }
    current_.swap(scratch_);
    ++index_;
    line_ = reader_->recordLine();
    return true;
}

bool TCsvTable::InternalFirst() {
    if (index_ == 0 && !resumeOffset_) return true;
    if (index_ >= 0) checkUnchanged();
    reader_->seek({dataOffset_, dataLine_});
    resumeOffset_.reset();
    resumeLine_.reset();
    index_ = -1;
    if (advance()) return true;
    current_.clear();
    return false;
}

bool TCsvTable::InternalNext() {
    if (index_ < 0) return false;
    return advance();
}

std::int64_t TCsvTable::InternalKey() const {
    const CsvPosition next = resumeOffset_ ? CsvPosition{*resumeOffset_, *resumeLine_} : reader_->position();
    const std::int64_t key = nextKey_++;
    saved_.emplace(key, Saved{current_, index_, line_, next.offset, next.line});
    return key;
}

void TCsvTable::InternalGotoKey(std::int64_t key) {
    const auto found = saved_.find(key);
    if (found == saved_.end()) return;
    const Saved& saved = found->second;
    current_ = saved.values;
    index_ = saved.index;
    line_ = saved.line;
    resumeOffset_ = saved.nextOffset;
    resumeLine_ = saved.nextLine;
}

void TCsvTable::InternalFreeKey(std::int64_t key) { saved_.erase(key); }

std::int64_t TCsvTable::InternalRecordCount() {
    if (count_) return *count_;
    CsvReader counter(path_, activeDelimiter_, where_);
    counter.seek({dataOffset_, dataLine_});
    std::int64_t count = 0;
    std::vector<std::string> values;
    while (readRecord(counter, values)) ++count;
    count_ = count;
    return count;
}

Variant TCsvTable::InternalValue(int column) const {
    const auto c = static_cast<std::size_t>(column);
    if (index_ < 0 || c >= current_.size()) return Variant::null();
    const std::string& text = current_[c];
    if (std::optional<Variant> value = parseCsvValue(text, formats_[c], order_)) return *value;
    throw EDatabaseError(where_ + ", line " + std::to_string(line_) + ", column " + std::to_string(column + 1) + " (" +
                         shown(columns_[c].name) + "): '" + shown(text) + "' is not " +
                         typeWords(formats_[c].type) +
                         "; declare the column's field (a TStringField keeps any text)");
}

}  // namespace tabulix::data
