#include "document_properties_xml.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "spreadsheet/model/document_properties.h"
#include "xml_text.h"

namespace tabulix::spreadsheet {

namespace {

constexpr std::string_view kXmlDeclaration = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                                             "\n";
constexpr double kUnixEpochSerial = 25569.0;

void element(std::string& xml, std::string_view tag, const std::string& text) {
    if (text.empty()) return;
    xml += "<";
    xml += tag;
    xml += ">";
    appendXmlText(xml, text);
    xml += "</";
    xml += tag;
    xml += ">";
}

void dateElement(std::string& xml, std::string_view tag, const std::optional<double>& serial) {
    if (!serial) return;
    xml += "<";
    xml += tag;
    xml += R"( xsi:type="dcterms:W3CDTF">)" + w3cDateTime(*serial) + "</";
    xml += tag;
    xml += ">";
}

}  // namespace

std::string w3cDateTime(double serial) {
    using namespace std::chrono;
    const sys_seconds time{seconds{std::llround((serial - kUnixEpochSerial) * 86400.0)}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

std::string corePropertiesXml(const DocumentProperties& p) {
    using P = DocumentProperties;
    std::string xml(kXmlDeclaration);
    xml += R"(<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" )"
           R"(xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:dcterms="http://purl.org/dc/terms/" )"
           R"(xmlns:dcmitype="http://purl.org/dc/dcmitype/" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">)";
    element(xml, "dc:title", p.text(P::Title));
    element(xml, "dc:subject", p.text(P::Subject));
    element(xml, "dc:creator", p.text(P::Author));
    element(xml, "cp:keywords", p.text(P::Keywords));
    element(xml, "dc:description", p.text(P::Comments));
    element(xml, "cp:lastModifiedBy", p.text(P::LastAuthor));
    element(xml, "cp:category", p.text(P::Category));
    dateElement(xml, "dcterms:created", p.created);
    dateElement(xml, "dcterms:modified", p.modified);
    return xml + "</cp:coreProperties>";
}

std::string appPropertiesXml(const DocumentProperties& p) {
    using P = DocumentProperties;
    std::string xml(kXmlDeclaration);
    xml += R"(<Properties xmlns="http://schemas.openxmlformats.org/officeDocument/2006/extended-properties" )"
           R"(xmlns:vt="http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes">)"
           "<Application>Tabulix</Application>";
    element(xml, "Manager", p.text(P::Manager));
    element(xml, "Company", p.text(P::Company));
    return xml + "</Properties>";
}

}  // namespace tabulix::spreadsheet
