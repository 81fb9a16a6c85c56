#include "web_page.h"

#include <cstdio>

#include "common/text_helpers.h"
#include "web_encoding.h"

namespace kz {
namespace {

constexpr std::string_view csp_slot = "<!--kz:csp-->";
constexpr std::string_view title_slot = "<!--kz:title-->";
constexpr std::string_view quiz_slot = "<!--kz:quiz-->";

// The contents of the template's scripts: every "<script>" element without
// attributes, which the policy must allow by their digests.
std::vector<std::string_view> inline_scripts(std::string_view page) {
    std::vector<std::string_view> scripts;
    constexpr std::string_view open = "<script>";
    constexpr std::string_view close = "</script>";
    for (std::size_t at = page.find(open); at != std::string_view::npos; at = page.find(open, at)) {
        const std::size_t start = at + open.size();
        const std::size_t end = page.find(close, start);
        if (end == std::string_view::npos) break;
        scripts.push_back(page.substr(start, end - start));
        at = end + close.size();
    }
    return scripts;
}

void replace_once(std::string& page, std::string_view slot, std::string_view with) {
    page.replace(page.find(slot), slot.size(), with);
}

}  // namespace

Result<std::string, std::string> results_origin(std::string_view url) {
    using R = Result<std::string, std::string>;
    std::size_t scheme_end = 0;
    if (url.starts_with("https://")) {
        scheme_end = 8;
    } else if (url.starts_with("http://")) {
        scheme_end = 7;
    } else {
        return R::failure("the results address must begin with http:// or https://");
    }
    for (const char c : url)
        if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7f ||
            std::string_view("\"'<>\\;,`").find(c) != std::string_view::npos)
            return R::failure("the results address holds a character that an address cannot hold as it is");
    const std::size_t authority_end = url.find_first_of("/?#", scheme_end);
    const std::string_view authority = url.substr(scheme_end, authority_end - scheme_end);
    if (authority.empty()) return R::failure("the results address names no server");
    if (authority.find('@') != std::string_view::npos)
        return R::failure("the results address must not hold a user name or password");
    return std::string(url.substr(0, scheme_end)) + std::string(authority);
}

Result<std::string, std::string> make_web_page(std::string_view page_template, const WebQuiz& quiz) {
    using R = Result<std::string, std::string>;
    for (const std::string_view slot : {csp_slot, title_slot, quiz_slot})
        if (page_template.find(slot) == std::string_view::npos)
            return R::failure("the page template lacks " + std::string(slot) + ": is it the web build's?");
    const auto scripts = inline_scripts(page_template);
    if (scripts.empty()) return R::failure("the page template holds no script: is it the web build's?");

    // The WebAssembly's script reads its own module from a data: address.
    std::string connect = "data:";
    if (quiz.results_url) {
        auto origin = results_origin(*quiz.results_url);
        if (!origin) return R::failure(origin.error());
        connect += ' ';
        connect += origin.value();
    }
    std::string policy = "default-src 'none'; script-src";
    for (const std::string_view script : scripts) {
        policy += ' ';
        policy += csp_hash_source(script);
    }
    policy += " 'wasm-unsafe-eval'; style-src 'unsafe-inline'; img-src blob:; media-src blob:; connect-src " +
              connect + "; base-uri 'none'; form-action 'none'";

    std::string manifest = "{\"quiz\":" + json_quoted(quiz.quiz_file) +
                           ",\"renderings\":" + json_quoted(renderings_folder) + ",\"resultsUrl\":" +
                           (quiz.results_url ? json_quoted(*quiz.results_url) : std::string("null")) + ",\"files\":[";
    std::string payload;
    std::size_t total = 0;
    for (const PageFile& file : quiz.files) total += file.bytes.size();
    payload.reserve(total);
    for (std::size_t i = 0; i < quiz.files.size(); ++i) {
        if (i) manifest += ',';
        manifest += "{\"path\":" + json_quoted(quiz.files[i].path) +
                    ",\"size\":" + std::to_string(quiz.files[i].bytes.size()) + "}";
        payload += quiz.files[i].bytes;
    }
    manifest += "]}";

    std::string page(page_template);
    replace_once(page, csp_slot,
                 "<meta http-equiv=\"Content-Security-Policy\" content=\"" + markup_text(policy) + "\">");
    replace_once(page, title_slot, markup_text(quiz.title));
    const std::string encoded = base64(payload);
    payload.clear();
    payload.shrink_to_fit();
    std::string data = "<script type=\"application/json\" id=\"kz-manifest\">" + manifest +
                       "</script>\n<script type=\"application/octet-stream\" id=\"kz-quiz\">";
    data.reserve(data.size() + encoded.size() + 16);
    data += encoded;
    data += "</script>";
    replace_once(page, quiz_slot, data);
    return page;
}

}  // namespace kz
