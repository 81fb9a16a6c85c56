#include "read_messages.h"

#include "common/cp1252.h"
#include "report_text.h"

namespace kz::report {

namespace {

std::string quoted_line(const std::string& stored) {
    return "« " + terminal_safe(cp1252_to_utf8(stored)) + " »";
}

std::string bytes_skipped(std::uint64_t count) {
    return count_text(count) + (count == 1 ? " octet ignoré" : " octets ignorés");
}

std::string fault_text(const SkippedBytes& skipped) {
    const std::string at = " à l'octet " + count_text(skipped.fault_offset);
    switch (skipped.fault) {
    case ResultsFault::cut_short:
        return "enregistrement incomplet : le fichier s'arrête à l'octet " + count_text(skipped.fault_offset);
    case ResultsFault::bad_number: return "nombre illisible" + at + " : " + quoted_line(skipped.fault_line);
    case ResultsFault::bad_entry_count:
        return "nombre de questions illisible" + at + " : " + quoted_line(skipped.fault_line);
    case ResultsFault::bad_date: return "date illisible" + at + " : " + quoted_line(skipped.fault_line);
    case ResultsFault::bad_time: return "heure illisible" + at + " : " + quoted_line(skipped.fault_line);
    case ResultsFault::bad_right_flag:
        return "indicateur juste/faux illisible" + at + " : " + quoted_line(skipped.fault_line);
    case ResultsFault::line_too_long: return "ligne de plus de 4 Mo" + at;
    }
    return "données illisibles" + at;
}

}  // namespace

std::string refusal_text(const std::string& file, const ResultsOpenError& error) {
    const std::string line = terminal_safe(cp1252_to_utf8(error.format_line));
    switch (error.failure) {
    case ResultsOpenFailure::unreadable: return file + " : fichier introuvable ou illisible";
    case ResultsOpenFailure::not_results:
        return file + " : ce n'est pas un fichier de résultats (sa première ligne n'est pas « 1.3 »)";
    case ResultsOpenFailure::too_old:
        return file + " : fichier de résultats au format " + line +
               ", plus ancien que le format 1.3 que lit ce programme ; convertissez-le avec Bilanor";
    case ResultsOpenFailure::too_new:
        return file + " : fichier de résultats au format " + line +
               ", plus récent que le format 1.3 que lit ce programme";
    }
    return file + " : fichier refusé";
}

std::string skipped_text(const std::string& file, const SkippedBytes& skipped) {
    return file + ", octet " + count_text(skipped.offset) + " : " + bytes_skipped(skipped.length) + " (" +
           fault_text(skipped) + ")";
}

}  // namespace kz::report
