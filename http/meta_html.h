#pragma once

#include "http/entetes_http.h"

#include <string_view>
#include <vector>

namespace tq {

// True for the media types whose body may declare header fields in META
// elements: text/html, text/html-sandboxed and application/xhtml+xml.
bool EstTypeHtml(std::string_view typeMedia);

// One field for each META element of the body that has an HTTP-EQUIV
// attribute: named by it and valued by the CONTENT attribute. Element and
// attribute names compare without regard to case.
std::vector<TChampEntete> ChampsMetaHttpEquiv(std::string_view corps);

} // namespace tq
