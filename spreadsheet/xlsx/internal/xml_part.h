#pragma once
// Internal: one XML part of a saved workbook, built in a buffer that is handed to the zip
// writer whenever it holds a chunk, so that even a sheet of millions of cells needs little
// memory.

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "xml_text.h"
#include "zip_writer.h"

namespace tabulix::spreadsheet {

class XmlPart {
public:
    XmlPart(ZipWriter& zip, std::string name) : zip_(zip) {
        zip_.beginPart(std::move(name));
        out_.reserve(ZipWriter::kChunkSize + (ZipWriter::kChunkSize >> 4));
    }
    XmlPart(const XmlPart&) = delete;
    XmlPart& operator=(const XmlPart&) = delete;

    XmlPart& raw(std::string_view text) {
        out_.append(text);
        return *this;
    }
    XmlPart& raw(char c) {
        out_.push_back(c);
        return *this;
    }
    // Element content or a quoted attribute value, escaped (see xml_text.h).
    XmlPart& text(std::string_view text) {
        appendXmlText(out_, text);
        return *this;
    }
    XmlPart& integer(std::uint64_t value) {
        char digits[24];
        out_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
        return *this;
    }
    // The shortest text that reads back as the same double.
    XmlPart& number(double value) {
        char digits[32];
        out_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
        return *this;
    }
    // Hands the buffer over once it holds a chunk; call between elements.
    void flushIfFull() {
        if (out_.size() >= ZipWriter::kChunkSize) zip_.write(out_);
    }
    // Ends the part (call once).
    void end() {
        zip_.write(out_);
        zip_.endPart();
    }

private:
    ZipWriter& zip_;
    std::string out_;
};

// A small part written at once.
inline void writeWholePart(ZipWriter& zip, std::string name, std::string_view content) {
    XmlPart part(zip, std::move(name));
    part.raw(content);
    part.end();
}

}  // namespace tabulix::spreadsheet
