#include "scorm_package.h"

#include <cstdio>
#include <ostream>
#include <system_error>

#include "common/cp1252.h"
#include "packer_commands.h"
#include "packer_support.h"
#include "questions/matcher.h"
#include "web_encoding.h"

#if defined(KZ_HAVE_LIBZIP)
#include <zip.h>
#endif

namespace kz {
namespace {

// An identifier of the manifest (XML's ID, which the standard asks for):
// the quiz's name in ASCII letters (accents dropped), digits and hyphens,
// after a letter.
std::string identifier_from(std::string_view utf8) {
    std::string id = "KZ-";
    const std::string name = utf8_to_cp1252(utf8).value_or(std::string(utf8));
    for (const char c : name) {
        for (const char folded : fold_accent(c)) {
            const bool kept = (folded >= 'a' && folded <= 'z') || (folded >= 'A' && folded <= 'Z') ||
                              (folded >= '0' && folded <= '9');
            if (kept) {
                id += folded;
            } else if (id.back() != '-') {
                id += '-';
            }
        }
        if (id.size() >= 60) break;
    }
    while (id.back() == '-') id.pop_back();
    return id;
}

#if defined(KZ_HAVE_LIBZIP)

// Writes the package with libzip: the manifest at the root, then the page,
// both compressed. The reason of a failure, or nothing.
std::optional<std::string> write_package(const std::filesystem::path& target, std::string_view manifest,
                                         std::string_view page) {
    std::error_code ignored;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ignored);
    std::filesystem::path partial = target;
    partial += ".partial";
    int error = 0;
    zip_t* archive = zip_open(partial.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) return "cannot write " + shown(target);
    bool written = true;
    for (const auto& [name, bytes] : {std::pair{std::string_view("imsmanifest.xml"), manifest},
                                      std::pair{scorm_launch_file, page}}) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive, std::string(name).c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source) zip_source_free(source);
            written = false;
            break;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
    }
    if (!written || zip_close(archive) != 0) {
        zip_discard(archive);
        std::filesystem::remove(partial, ignored);
        return "cannot write " + shown(target);
    }
    std::filesystem::rename(partial, target, ignored);
    if (ignored) {
        std::filesystem::remove(partial, ignored);
        return "cannot write " + shown(target);
    }
    return std::nullopt;
}

#endif

}  // namespace

std::string scorm_manifest(std::string_view title_utf8, std::string_view quiz_file) {
    const auto digest = sha256(quiz_file);
    char version[16];
    std::snprintf(version, sizeof version, "%02x%02x%02x%02x", digest[0], digest[1], digest[2], digest[3]);
    const std::string id = identifier_from(title_utf8);
    const std::string title = markup_text(title_utf8.empty() ? std::string_view("Questionnaire") : title_utf8);
    const std::string launch(scorm_launch_file);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<manifest identifier=\"" + id + "\" version=\"" + version + "\"\n"
           "          xmlns=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2\"\n"
           "          xmlns:adlcp=\"http://www.adlnet.org/xsd/adlcp_rootv1p2\"\n"
           "          xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
           "          xsi:schemaLocation=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd "
           "http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd "
           "http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd\">\n"
           "  <metadata>\n"
           "    <schema>ADL SCORM</schema>\n"
           "    <schemaversion>1.2</schemaversion>\n"
           "  </metadata>\n"
           "  <organizations default=\"" + id + "-ORG\">\n"
           "    <organization identifier=\"" + id + "-ORG\">\n"
           "      <title>" + title + "</title>\n"
           "      <item identifier=\"" + id + "-ITEM\" identifierref=\"" + id + "-RES\" isvisible=\"true\">\n"
           "        <title>" + title + "</title>\n"
           "      </item>\n"
           "    </organization>\n"
           "  </organizations>\n"
           "  <resources>\n"
           "    <resource identifier=\"" + id + "-RES\" type=\"webcontent\" adlcp:scormtype=\"sco\" href=\"" +
           launch + "\">\n"
           "      <file href=\"" + launch + "\"/>\n"
           "    </resource>\n"
           "  </resources>\n"
           "</manifest>\n";
}

int scorm_command(const WebCommand& command, std::ostream& out, std::ostream& err) {
#if defined(KZ_HAVE_LIBZIP)
    auto made = make_quiz_web_page(command, err);
    if (!made) {
        err << "error: " << made.error() << "\n";
        return packer_failed;
    }
    const std::string manifest = scorm_manifest(made.value().title, made.value().quiz_file);
    if (auto problem = write_package(command.output, manifest, made.value().page)) {
        err << "error: " << *problem << "\n";
        return packer_failed;
    }
    out << "made " << shown(command.output) << " (SCORM 1.2, launch " << scorm_launch_file
        << "): " << made.value().summary << "\n";
    return packer_done;
#else
    (void)command;
    (void)out;
    err << "error: this packer has no zip library and cannot make SCORM packages; use the Linux packer\n";
    return packer_failed;
#endif
}

}  // namespace kz
