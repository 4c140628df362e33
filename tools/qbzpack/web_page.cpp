#include "qbzpack/web_page.h"

#include <filesystem>

#include "platform/path_mapping.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

// The two places of qbzview.html that a panorama page fills.
constexpr char kTitleMark[] = "<title>qbzview</title>";
constexpr char kPanoramaMark[] = "<script id=\"qbz-panorama\" type=\"application/octet-stream\"></script>";

std::string base64(const std::vector<uint8_t>& bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t group = (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
    for (int shift = 18; shift >= 0; shift -= 6) text.push_back(kDigits[(group >> shift) & 0x3F]);
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    const uint32_t group = (uint32_t{bytes[i]} << 16) | (rest == 2 ? uint32_t{bytes[i + 1]} << 8 : 0);
    text.push_back(kDigits[(group >> 18) & 0x3F]);
    text.push_back(kDigits[(group >> 12) & 0x3F]);
    text.push_back(rest == 2 ? kDigits[(group >> 6) & 0x3F] : '=');
    text.push_back('=');
  }
  return text;
}

std::string escapeHtml(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped.push_back(c);
    }
  }
  return escaped;
}

// Replaces the one occurrence of mark; a page without it, or with two, is
// not the web build's page.
void fillOnce(std::string& page, const std::string& mark, const std::string& with) {
  const size_t at = page.find(mark);
  if (at == std::string::npos || page.find(mark, at + 1) != std::string::npos) {
    throw ToolError("the web viewer page is not the web build's qbzview.html (see README, Web)");
  }
  page.replace(at, mark.size(), with);
}

}  // namespace

std::string defaultWebViewerPath() {
  const std::filesystem::path self = platform::runningExecutablePath();
  return self.empty() ? std::string("qbzview.html") : (self.parent_path() / "qbzview.html").string();
}

std::vector<uint8_t> webPageBytes(const std::string& viewerPage, const std::vector<uint8_t>& panorama,
                                  const std::string& title) {
  std::string page = viewerPage;
  fillOnce(page, kTitleMark, "<title>" + escapeHtml(title) + " - qbzview</title>");
  fillOnce(page, kPanoramaMark,
           "<script id=\"qbz-panorama\" type=\"application/octet-stream\">" + base64(panorama) + "</script>");
  return std::vector<uint8_t>(page.begin(), page.end());
}

std::string pageTitle(const std::string& caption, const std::string& pagePath) {
  if (!caption.empty()) return caption;
  const std::string stem = std::filesystem::path(pagePath).stem().string();
  return stem.empty() ? std::string("panorama") : stem;
}

}  // namespace qbzpack
