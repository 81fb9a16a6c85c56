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

std::string encoding_text(const std::string& file, const TextEncoding& encoding) {
    std::string text = file + " : enregistré en ";
    if (encoding.utf16) {
        text += "UTF-16 (le « Unicode » d'un éditeur de texte ou d'un tableur) ; lu comme tel. Les questionnaires "
                "refusent d'écrire dans un fichier enregistré ainsi (« version trop récente ») : enregistrez-le en "
                "Windows-1252 (ANSI)";
    } else {
        text += "UTF-8 (sans doute par un éditeur de texte)";
        if (encoding.byte_order_mark) {
            text += ", avec la marque d'ordre des octets en tête ; lu en UTF-8. Les questionnaires refusent "
                    "d'écrire dans un fichier qui commence ainsi (« version trop récente ») : enregistrez-le en "
                    "Windows-1252 (ANSI) ou sans cette marque";
        } else {
            text += " à partir de l'octet " + count_text(encoding.first_utf8_offset) + " : " +
                    count_text(encoding.utf8_lines) + (encoding.utf8_lines == 1 ? " ligne lue" : " lignes lues") +
                    " en UTF-8 ; les questionnaires écrivent en Windows-1252";
        }
    }
    if (encoding.unmapped)
        text += " ; " + count_text(encoding.unmapped) +
                (encoding.unmapped == 1 ? " caractère absent" : " caractères absents") +
                " de Windows-1252 remplacés par « ? »";
    return text;
}

std::string glued_text(const std::string& file, const ReadRecord& record) {
    const GluedStart& glued = *record.glued;
    std::string how;
    switch (glued.by) {
    case GluedBy::known_name: how = "nom d'un élève d'autres examens"; break;
    case GluedBy::field_pattern: how = "la valeur coupée finit là"; break;
    case GluedBy::capitals: how = "nom deviné d'après les majuscules, à vérifier"; break;
    }
    return file + ", octet " + count_text(record.offset) +
           " : un examen commence au milieu d'une ligne, à la suite d'un enregistrement interrompu (« …" +
           terminal_safe(cp1252_to_utf8(glued.cut_text)) + " ») ; élève : " + quoted_line(record.record.student_name) +
           " (" + how + ")";
}

}  // namespace kz::report
