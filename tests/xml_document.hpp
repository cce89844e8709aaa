#pragma once

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <memory>
#include <string>
#include <vector>

namespace napinavost::testing {

// A document read by libxml2, strictly as XML or leniently as HTML, with
// XPath over it; `s` names the SVG namespace and `h` the XHTML one.
struct XmlDocument {
    std::shared_ptr<xmlDoc> document;
    std::string error;

    static XmlDocument parse_xml(const std::string& text) {
        XmlDocument result;
        xmlResetLastError();
        xmlDoc* doc = xmlReadMemory(
            text.data(), static_cast<int>(text.size()), "picture.xml", "UTF-8",
            XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
        if (const xmlError* error = xmlGetLastError(); error && error->message) {
            result.error = error->message;
        }
        if (doc) result.document.reset(doc, xmlFreeDoc);
        if (!doc && result.error.empty()) result.error = "not parsed";
        return result;
    }

    static XmlDocument parse_html(const std::string& text) {
        XmlDocument result;
        htmlDocPtr doc =
            htmlReadMemory(text.data(), static_cast<int>(text.size()), "page.html", "UTF-8",
                           HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING);
        if (doc) result.document.reset(doc, xmlFreeDoc);
        if (!doc) result.error = "not parsed";
        return result;
    }

    bool ok() const { return document && error.empty(); }

    // The string value of every node the expression selects.
    std::vector<std::string> values(const std::string& expression) const {
        std::vector<std::string> found;
        if (!document) return found;
        std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(
            xmlXPathNewContext(document.get()), xmlXPathFreeContext);
        xmlXPathRegisterNs(context.get(), BAD_CAST "s", BAD_CAST "http://www.w3.org/2000/svg");
        xmlXPathRegisterNs(context.get(), BAD_CAST "h", BAD_CAST "http://www.w3.org/1999/xhtml");
        std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> result(
            xmlXPathEvalExpression(BAD_CAST expression.c_str(), context.get()), xmlXPathFreeObject);
        if (!result || !result->nodesetval) return found;
        for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
            xmlChar* value = xmlNodeGetContent(result->nodesetval->nodeTab[i]);
            found.emplace_back(value ? reinterpret_cast<const char*>(value) : "");
            xmlFree(value);
        }
        return found;
    }

    std::size_t count(const std::string& expression) const { return values(expression).size(); }
};

}  // namespace napinavost::testing
