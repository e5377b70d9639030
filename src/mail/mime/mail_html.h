// HTML mail turned into the plain text the message view shows.
#pragma once
#include <cstddef>
#include <string_view>

namespace vsmr {

// Writes the text of `html` (Shift-JIS, already converted) to `dest` of
// dest_size bytes, cut at whole characters when full and always terminated:
// tags, comments and declarations dropped, as is what <script>, <style> and
// <title> hold; outside <pre> every run of blanks and line breaks is one blank
// and none begins or ends a line; a line break (CR LF) for <br> and where a
// block element (paragraph, heading, list item, table row...) begins or ends
// a line of text; a blank before each table cell; character references
// decoded (a no-break space as a blank); after a link's text, unless the text
// already is it, its target in angle brackets so that the view finds it:
// <http://...>, or the bare address of a mailto: link. Returns the length.
std::size_t HtmlToText(std::string_view html, char* dest, std::size_t dest_size);

}  // namespace vsmr
