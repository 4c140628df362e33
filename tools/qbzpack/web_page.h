// A web page holding the viewer and one panorama: a copy of the web build's
// qbzview.html with the panorama (container, texts, overlays and trailer, in
// the self-contained viewer's layout) put inside it, so that the page alone,
// opened from a file, shows the panorama.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qbzpack {

// The web build's page: --web-viewer, or qbzview.html beside this program.
std::string defaultWebViewerPath();
// The page with title (HTML-escaped) and the panorama's bytes (base64);
// throws ToolError when viewerPage is not the web build's qbzview.html.
std::vector<uint8_t> webPageBytes(const std::string& viewerPage, const std::vector<uint8_t>& panorama,
                                  const std::string& title);
// A title for a page: the caption when there is one, else the page file's
// name without its extension.
std::string pageTitle(const std::string& caption, const std::string& pagePath);

}  // namespace qbzpack
