#include "office/xlsx_frozen_panes.h"

#include <zip.h>

#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tabulix::office {

namespace {

// The sheetView is near a sheet part's start (after sheetPr and dimension); a part that holds
// none this far on is not one this code understands.
constexpr std::size_t kMaxHead = std::size_t{1} << 20;

struct Attribute {
    std::string_view name, value, text;  // text: the whole ` name="value"`
};

struct StartTag {
    std::size_t begin = 0, end = 0;  // of "<name ... >" in the text
    bool empty = false;              // "/>"
    std::vector<Attribute> attributes;
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The next start tag named `name` at or after `from`, or nothing when the text holds no complete one.
std::optional<StartTag> findStartTag(std::string_view xml, std::string_view name, std::size_t from = 0) {
    const std::string open = "<" + std::string(name);
    for (std::size_t at = xml.find(open, from); at != std::string_view::npos; at = xml.find(open, at + 1)) {
        std::size_t i = at + open.size();
        if (i >= xml.size()) return std::nullopt;
        if (!isSpace(xml[i]) && xml[i] != '/' && xml[i] != '>') continue;  // a longer name
        StartTag tag{at, 0, false, {}};
        for (;;) {
            const std::size_t attributeBegin = i;
            while (i < xml.size() && isSpace(xml[i])) ++i;
            if (i >= xml.size()) return std::nullopt;
            if (xml[i] == '>' || xml.substr(i, 2) == "/>") {
                tag.empty = xml[i] == '/';
                tag.end = i + (tag.empty ? 2 : 1);
                if (tag.end > xml.size()) return std::nullopt;
                return tag;
            }
            const std::size_t equals = xml.find('=', i);
            if (equals == std::string_view::npos) return std::nullopt;
            std::size_t quote = equals + 1;
            while (quote < xml.size() && isSpace(xml[quote])) ++quote;
            if (quote >= xml.size() || (xml[quote] != '"' && xml[quote] != '\'')) return std::nullopt;
            const std::size_t close = xml.find(xml[quote], quote + 1);
            if (close == std::string_view::npos) return std::nullopt;
            std::string_view attributeName = xml.substr(i, equals - i);
            while (!attributeName.empty() && isSpace(attributeName.back())) attributeName.remove_suffix(1);
            tag.attributes.push_back({attributeName, xml.substr(quote + 1, close - quote - 1),
                                      xml.substr(attributeBegin, close + 1 - attributeBegin)});
            i = close + 1;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> attribute(const StartTag& tag, std::string_view name) {
    for (const Attribute& a : tag.attributes)
        if (a.name == name) return a.value;
    return std::nullopt;
}

// An attribute of the relationships' namespace, whatever prefix the part gave it.
std::optional<std::string_view> relationshipAttribute(const StartTag& tag, std::string_view localName) {
    for (const Attribute& a : tag.attributes) {
        const std::size_t colon = a.name.find(':');
        if (colon != std::string_view::npos && a.name.substr(colon + 1) == localName) return a.value;
    }
    return std::nullopt;
}

std::string unescaped(std::string_view text) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : kEntities)
            if (text.substr(i, entity.size()) == entity) {
                out += c;
                i += entity.size();
                replaced = true;
                break;
            }
        if (!replaced) out += text[i++];
    }
    return out;
}

std::string cellName(std::int32_t column, std::int32_t row) {
    std::string letters;
    for (std::int32_t n = column + 1; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), char('A' + (n - 1) % 26));
    return letters + std::to_string(row + 1);
}

// `xml` without the elements named `name`, which hold nothing.
std::string withoutEmptyElements(std::string_view xml, std::string_view name) {
    std::string kept;
    std::size_t from = 0;
    for (auto element = findStartTag(xml, name); element; element = findStartTag(xml, name, from)) {
        if (!element->empty) throw std::runtime_error("a sheetView's " + std::string(name) + " holds elements");
        kept += xml.substr(from, element->begin - from);
        from = element->end;
    }
    return kept += xml.substr(from);
}

// The sheetView element that starts at `tag` and ends at `end` in `xml`, with the panes frozen:
// its attributes kept but for the top left cell, its pane and selections replaced.
std::string frozenSheetView(std::string_view xml, const StartTag& tag, std::size_t end, const FrozenPanes& p) {
    std::string view = "<sheetView";
    for (const Attribute& a : tag.attributes)
        if (a.name != "topLeftCell") view += a.text;
    view += " topLeftCell=\"" + cellName(p.firstColumn, p.firstRow) + "\">";
    const std::string pane = p.rows == 0 ? "topRight" : p.columns == 0 ? "bottomLeft" : "bottomRight";
    view += "<pane";
    if (p.columns != 0) view += " xSplit=\"" + std::to_string(p.columns) + "\"";
    if (p.rows != 0) view += " ySplit=\"" + std::to_string(p.rows) + "\"";
    view += " topLeftCell=\"" + cellName(p.scrollingColumn, p.scrollingRow) + "\" activePane=\"" + pane +
            "\" state=\"frozen\"/><selection pane=\"" + pane + "\"/>";
    // Whatever else the view holds (extensions) follows, as the schema orders it.
    const std::string_view inside =
        tag.empty ? std::string_view() : xml.substr(tag.end, end - std::strlen("</sheetView>") - tag.end);
    view += withoutEmptyElements(withoutEmptyElements(inside, "pane"), "selection");
    return view + "</sheetView>";
}

class Archive {
public:
    Archive(const std::filesystem::path& path, int flags) {
        int error = 0;
        zip_ = zip_open(path.c_str(), flags, &error);
        if (!zip_) {
            zip_error_t e;
            zip_error_init_with_code(&e, error);
            const std::string reason = zip_error_strerror(&e);
            zip_error_fini(&e);
            throw std::runtime_error("it is not a workbook LibreOffice Calc could have written (" + reason + ")");
        }
    }
    ~Archive() {
        if (zip_) zip_discard(zip_);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    zip_t* get() const { return zip_; }

    zip_uint64_t index(const std::string& part) const {
        const zip_int64_t at = zip_name_locate(zip_, part.c_str(), 0);
        if (at < 0) throw std::runtime_error("the workbook has no part " + part);
        return static_cast<zip_uint64_t>(at);
    }

    // At most `limit` bytes from the start of the part at `index`.
    std::string read(zip_uint64_t index, std::size_t limit = SIZE_MAX) const {
        zip_file_t* file = zip_fopen_index(zip_, index, 0);
        if (!file) throw std::runtime_error(std::string("a part of the workbook cannot be read: ") + zip_strerror(zip_));
        std::string text;
        char buffer[1 << 16];
        zip_int64_t got = 0;
        while (text.size() < limit && (got = zip_fread(file, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        const std::string reason = got < 0 ? zip_file_strerror(file) : "";
        zip_fclose(file);
        if (got < 0) throw std::runtime_error("a part of the workbook cannot be read: " + reason);
        return text;
    }

    // Writes the archive (libzip replaces the file through one beside it) and lets it go.
    void close() {
        if (zip_close(zip_) != 0) throw std::runtime_error(std::string("the workbook cannot be rewritten: ") + zip_strerror(zip_));
        zip_ = nullptr;
    }

private:
    zip_t* zip_ = nullptr;
};

// The parts of the workbook's sheets, in its order.
std::vector<std::string> sheetParts(const Archive& archive) {
    const std::string book = archive.read(archive.index("xl/workbook.xml"));
    const std::string links = archive.read(archive.index("xl/_rels/workbook.xml.rels"));
    std::vector<std::string> parts;
    for (auto sheet = findStartTag(book, "sheet"); sheet; sheet = findStartTag(book, "sheet", sheet->end)) {
        const auto id = relationshipAttribute(*sheet, "id");
        if (!id) throw std::runtime_error("a sheet of xl/workbook.xml has no relationship");
        std::optional<std::string> target;
        for (auto link = findStartTag(links, "Relationship"); link && !target;
             link = findStartTag(links, "Relationship", link->end))
            if (attribute(*link, "Id") == *id) target = unescaped(attribute(*link, "Target").value_or(""));
        if (!target || target->empty()) throw std::runtime_error("xl/workbook.xml names a sheet without a part");
        parts.push_back(target->front() == '/' ? target->substr(1) : "xl/" + *target);
    }
    return parts;
}

// A sheet part as it was, with its start (up to `skip` bytes) replaced by `head`; read while the
// archive is written, so that a large sheet never has to be held whole.
struct RewrittenPart {
    const Archive* original;
    zip_uint64_t index;
    std::string head;
    std::size_t skip;
    zip_stat_t stat;
    zip_file_t* file = nullptr;
    std::size_t headServed = 0;
    zip_error_t error;

    static zip_int64_t callback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
        auto* self = static_cast<RewrittenPart*>(state);
        switch (command) {
            case ZIP_SOURCE_OPEN: return self->open();
            case ZIP_SOURCE_READ: return self->read(static_cast<char*>(data), length);
            case ZIP_SOURCE_CLOSE:
                if (self->file) zip_fclose(self->file);
                self->file = nullptr;
                return 0;
            case ZIP_SOURCE_STAT: {
                auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &self->error);
                if (!st) return -1;
                zip_stat_init(st);
                st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
                st->size = self->stat.size - self->skip + self->head.size();
                st->mtime = self->stat.mtime;
                return sizeof(zip_stat_t);
            }
            case ZIP_SOURCE_ERROR: return zip_error_to_data(&self->error, data, length);
            case ZIP_SOURCE_FREE:
                if (self->file) zip_fclose(self->file);
                zip_error_fini(&self->error);
                delete self;
                return 0;
            case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_READABLE;
            default: zip_error_set(&self->error, ZIP_ER_OPNOTSUPP, 0); return -1;
        }
    }

    zip_int64_t open() {
        file = zip_fopen_index(original->get(), index, 0);
        if (!file) {
            zip_error_set(&error, ZIP_ER_READ, 0);
            return -1;
        }
        char buffer[1 << 16];
        for (std::size_t skipped = 0; skipped < skip;) {
            const zip_int64_t got = zip_fread(file, buffer, std::min(sizeof buffer, skip - skipped));
            if (got <= 0) {
                zip_error_set(&error, ZIP_ER_READ, 0);
                return -1;
            }
            skipped += static_cast<std::size_t>(got);
        }
        headServed = 0;
        return 0;
    }

    zip_int64_t read(char* data, zip_uint64_t length) {
        if (headServed < head.size()) {
            const std::size_t n = std::min<std::size_t>(length, head.size() - headServed);
            std::memcpy(data, head.data() + headServed, n);
            headServed += n;
            return static_cast<zip_int64_t>(n);
        }
        const zip_int64_t got = zip_fread(file, data, length);
        if (got < 0) zip_error_set(&error, ZIP_ER_READ, 0);
        return got;
    }
};

// The start of a sheet part up to the end of its first sheetView, rewritten; `consumed` says how
// much of the part it replaces.
std::string frozenHead(const std::string& part, std::string_view start, const FrozenPanes& panes, std::size_t& consumed) {
    const auto views = findStartTag(start, "sheetViews");
    const auto data = findStartTag(start, "sheetData");
    const auto view = views ? findStartTag(start, "sheetView", views->end) : std::nullopt;
    if (!view || (data && data->begin < view->begin))
        throw std::runtime_error(part + " has no sheetView where LibreOffice Calc writes it");
    std::size_t end = view->end;
    if (!view->empty) {
        end = start.find("</sheetView>", view->end);
        if (end == std::string_view::npos) throw std::runtime_error(part + " has a sheetView without its end");
        end += std::strlen("</sheetView>");
    }
    consumed = end;
    return std::string(start.substr(0, view->begin)) + frozenSheetView(start, *view, end, panes);
}

}  // namespace

void addFrozenPanes(const std::filesystem::path& path, const std::map<std::size_t, FrozenPanes>& panes) {
    if (panes.empty()) return;
    const Archive original(path, ZIP_RDONLY);
    Archive rewritten(path, 0);
    const std::vector<std::string> parts = sheetParts(original);
    for (const auto& [sheet, frozen] : panes) {
        if (sheet >= parts.size())
            throw std::runtime_error("the workbook has no sheet " + std::to_string(sheet + 1) + " to freeze panes in");
        const std::string& part = parts[sheet];
        const zip_uint64_t index = original.index(part);
        auto source = std::make_unique<RewrittenPart>();
        source->original = &original;
        source->index = index;
        source->head = frozenHead(part, original.read(index, kMaxHead), frozen, source->skip);
        zip_stat_init(&source->stat);
        if (zip_stat_index(original.get(), index, 0, &source->stat) != 0 || !(source->stat.valid & ZIP_STAT_SIZE))
            throw std::runtime_error(part + " does not say its size");
        zip_error_init(&source->error);
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* zipSource = zip_source_function_create(&RewrittenPart::callback, source.get(), &error);
        if (!zipSource) {
            zip_error_fini(&source->error);
            const std::string reason = zip_error_strerror(&error);
            zip_error_fini(&error);
            throw std::runtime_error("the workbook cannot be rewritten: " + reason);
        }
        source.release();  // the zip source frees it
        if (zip_file_replace(rewritten.get(), index, zipSource, 0) != 0) {
            zip_source_free(zipSource);
            throw std::runtime_error(std::string("the workbook cannot be rewritten: ") + zip_strerror(rewritten.get()));
        }
    }
    rewritten.close();
}

}  // namespace tabulix::office
