#include "html_report.h"

#include <cmath>

#include "common/text_helpers.h"
#include "report_text.h"
#include "web_encoding.h"
#include "svg_charts.h"

namespace kz::report {

namespace {

// The style: readable from a phone's width to a desk's, and printed on A4
// with each quiz on a page of its own.
constexpr const char* style = R"(
:root{--ink:#1d2433;--muted:#5b6475;--line:#d9dee7;--accent:#1f5fa8;--soft:#e8f0fa;--good:#2e7d32;--warn:#a85f00;--bad:#c62828;--bar:#4a7fc1}
*{box-sizing:border-box}
html{-webkit-text-size-adjust:100%;text-size-adjust:100%}
body{margin:0 auto;max-width:1100px;padding:1.5rem;font:15px/1.45 system-ui,-apple-system,"Segoe UI",Roboto,"Noto Sans","DejaVu Sans",Arial,sans-serif;color:var(--ink);background:#fff}
h1{font-size:1.7rem;margin:0 0 .25rem}
h2{font-size:1.35rem;margin:2.2rem 0 .6rem;padding-bottom:.3rem;border-bottom:2px solid var(--accent)}
h3{font-size:1.05rem;margin:1.6rem 0 .5rem}
.lead{color:var(--muted);margin:.2rem 0 1rem}
nav ul{list-style:none;padding:0;margin:.5rem 0 1rem;display:flex;flex-wrap:wrap;gap:.4rem}
nav a{display:inline-block;padding:.2rem .65rem;border:1px solid var(--line);border-radius:999px;text-decoration:none;color:var(--accent)}
.alert{border-left:4px solid var(--warn);background:#fff6e5;padding:.5rem .8rem;margin:1rem 0}
.figures{display:grid;grid-template-columns:repeat(auto-fill,minmax(9.5rem,1fr));gap:.5rem;margin:.8rem 0;padding:0}
.figures div{border:1px solid var(--line);border-radius:6px;padding:.45rem .6rem}
.figures dt{font-size:.8rem;color:var(--muted)}
.figures dd{margin:0;font-size:1.25rem;font-weight:600}
.figures dd small{font-size:.8rem;font-weight:400;color:var(--muted)}
figure{margin:.5rem 0 1rem}
figcaption,.note{font-size:.85rem;color:var(--muted)}
svg.histogram{width:100%;max-width:560px;height:auto;display:block}
svg .bar{fill:var(--bar)} svg .grid{stroke:#e6e9ef} svg .baseline{stroke:#8a93a5}
svg text{font-size:12px;fill:#4a5263} svg text.count{fill:var(--ink);font-weight:600}
svg .mean{stroke:var(--bad);stroke-width:2.5;stroke-dasharray:6 3} svg .median{stroke:#14532d;stroke-width:2.5;stroke-dasharray:2 3}
svg text.mean-label{fill:var(--bad)} svg text.median-label{fill:var(--good)}
.scroll{overflow-x:auto;-webkit-overflow-scrolling:touch;margin:.4rem 0 1rem}
section.quiz,section.students{content-visibility:auto;contain-intrinsic-size:auto 1600px}
table{border-collapse:collapse;width:100%;font-size:.9rem}
th,td{padding:.35rem .5rem;border-bottom:1px solid var(--line);text-align:left;vertical-align:top}
th{background:var(--soft);font-weight:600;white-space:nowrap}
.num{text-align:right;white-space:nowrap}
table.exams td,table.exams th{white-space:nowrap} td.facility{white-space:nowrap}
table.questions td:nth-child(2){min-width:12rem} table.questions td:nth-child(6){min-width:13rem}
table.questions th{white-space:normal}
td.types{font-size:.8rem;color:var(--muted);min-width:7rem}
tbody tr:nth-child(even){background:#fafbfd}
table.exams th:first-child,table.exams td:first-child,table.students th:first-child,table.students td:first-child{position:sticky;left:0;z-index:1;background:#fff;box-shadow:1px 0 0 var(--line)}
table.exams th:first-child,table.students th:first-child{background:var(--soft)}
table.exams tbody tr:nth-child(even) td:first-child,table.students tbody tr:nth-child(even) td:first-child{background:#fafbfd}
th.sorts{position:relative;padding-right:1.2rem}
th.sorts::after{content:"\2195";position:absolute;right:.3rem;color:#9aa3b2;font-weight:400}
th[aria-sort=ascending]::after{content:"\25B2";color:var(--accent)}
th[aria-sort=descending]::after{content:"\25BC";color:var(--accent)}
button.sort{position:absolute;inset:0;width:100%;background:none;border:0;padding:0;margin:0;cursor:pointer}
button.sort:focus-visible{outline:2px solid var(--accent);outline-offset:-2px}
svg.share{width:4.5rem;height:.6rem;vertical-align:middle;margin-right:.35rem}
svg.share .empty{fill:#e3e7ee} svg.share .filled{fill:var(--bar)}
.weak{color:var(--warn);font-weight:600} .negative{color:var(--bad);font-weight:600} .muted{color:var(--muted)}
.uncertain{opacity:.55;font-style:italic;text-decoration:underline dotted}
ol.wrong{margin:0;padding-left:1.1rem} ol.wrong .n{color:var(--muted);white-space:nowrap}
svg.trend{width:12rem;height:2.4rem;display:block}
svg.trend .line{fill:none;stroke:var(--bar);stroke-width:1.5} svg.trend .point{fill:var(--accent)}
details.student{border:1px solid var(--line);border-radius:6px;padding:.4rem .7rem;margin:.5rem 0}
details.student summary{cursor:pointer;font-weight:600}
details.student summary span{font-weight:400;color:var(--muted)}
footer{margin-top:2.5rem;border-top:1px solid var(--line);padding-top:.6rem;font-size:.8rem;color:var(--muted)}
@media (max-width:640px){body{padding:.8rem;font-size:14px} th,td{padding:.3rem .35rem} h1{font-size:1.4rem}
 table.exams td:not(.num){white-space:normal}
 table.exams td:first-child,table.students td:first-child{max-width:8.5rem;white-space:normal;overflow-wrap:anywhere}
 table.questions,table.questions tbody,table.questions tr,table.questions td{display:block;width:auto}
 table.questions thead tr{display:flex;flex-wrap:wrap;gap:.3rem;align-items:center}
 table.questions thead tr::before{content:"Trier par :";font-size:.8rem;color:var(--muted)}
 table.questions thead th{display:block;border:1px solid var(--line);border-radius:999px;padding:.15rem 1.3rem .15rem .55rem;font-size:.8rem}
 table.questions tbody tr{border:1px solid var(--line);border-radius:6px;margin:.5rem 0;padding:.35rem .6rem}
 table.questions td{border:0;padding:.12rem 0;text-align:left;min-width:0!important}
 table.questions td:nth-child(1){font-size:.8rem;color:var(--muted)}
 table.questions td:nth-child(2){font-weight:600}
 table.questions td:nth-child(n+3):not(.wide){display:inline-block;margin-right:.9rem}
 table.questions td:nth-child(3)::before{content:"Posée ";color:var(--muted);font-style:normal;font-weight:400}
 table.questions td:nth-child(5)::before{content:"Discrimination ";color:var(--muted);font-style:normal;font-weight:400}
 table.questions td:nth-child(6):not(.wide){display:block}
 table.questions td:nth-child(6)::before{content:"Réponses fausses : ";color:var(--muted);font-size:.8rem}
 table.questions td.wide,table.questions th.wide{display:none}}
@page{size:A4;margin:14mm 12mm}
@media print{body{max-width:none;padding:0;font-size:9.5pt} nav{display:none}
 section.quiz+section.quiz,section.students{break-before:page}
 h2,h3{break-after:avoid} tr,figure,.figures{break-inside:avoid} thead{display:table-header-group} .scroll{overflow:visible}
 button.sort{display:none} th.sorts{padding-right:.5rem} th.sorts::after{content:none}
 table.exams td:first-child,table.exams th:first-child,table.students td:first-child,table.students th:first-child{position:static;box-shadow:none}
 a{color:inherit;text-decoration:none} tbody tr:nth-child(even),tbody tr:nth-child(even) td:first-child{background:none}
 *{-webkit-print-color-adjust:exact;print-color-adjust:exact}}
)";

// Sorting by a click on a column head: the cell's data-value when it has
// one (numbers, dates), its text otherwise; a second click reverses. The
// head's text stays as it is, under a button that covers it, so that the
// head prints (the button is not printed) and reads the same to everyone.
constexpr const char* script = R"(
(function () {
  function key(row, column, numeric) {
    var cell = row.cells[column];
    var value = cell ? (cell.hasAttribute('data-value') ? cell.getAttribute('data-value') : cell.textContent) : '';
    if (!numeric) return value.trim();
    var n = parseFloat(value);
    return isNaN(n) ? null : n;
  }
  Array.prototype.forEach.call(document.querySelectorAll('table.sortable'), function (table) {
    var heads = table.tHead.rows[0].cells;
    Array.prototype.forEach.call(heads, function (head, column) {
      var button = document.createElement('button');
      button.type = 'button';
      button.className = 'sort';
      button.setAttribute('aria-label', 'Trier par ' + head.textContent.trim());
      head.classList.add('sorts');
      head.appendChild(button);
      button.addEventListener('click', function () {
        var up = head.getAttribute('aria-sort') !== 'ascending';
        var numeric = head.getAttribute('data-sort') === 'num';
        Array.prototype.forEach.call(heads, function (h) { h.removeAttribute('aria-sort'); });
        head.setAttribute('aria-sort', up ? 'ascending' : 'descending');
        var body = table.tBodies[0];
        var rows = Array.prototype.slice.call(body.rows).map(function (row, i) {
          return { row: row, key: key(row, column, numeric), i: i };
        });
        rows.sort(function (a, b) {
          if (a.key === null || b.key === null) return (a.key === null) - (b.key === null) || a.i - b.i;
          var c = numeric ? a.key - b.key : a.key.localeCompare(b.key, 'fr', { numeric: true, sensitivity: 'base' });
          return (up ? c : -c) || a.i - b.i;
        });
        var sorted = document.createDocumentFragment();
        rows.forEach(function (r) { sorted.appendChild(r.row); });
        body.appendChild(sorted);
      });
    });
  });
})();
)";

std::string esc(const std::string& text) { return html_escaped(text); }

// A number for data-value: a point before the decimals, as the sorting
// script reads it.
std::string dotted(double value, int decimals) {
    std::string text = french_decimal(value, decimals);
    for (char& c : text)
        if (c == ',') c = '.';
    return text;
}

std::string period_text(std::int64_t first, std::int64_t last) {
    if (!first) return "";
    const std::string from = day_text(first), to = day_text(last);
    return from == to ? "le " + from : "du " + from + " au " + to;
}

std::string plural(std::uint64_t count, const char* one, const char* many) {
    return count_text(count) + " " + (count == 1 ? one : many);
}

std::string marks_text(double percent) { return french_decimal(percent / 5, 1) + "/20"; }

std::string figure(const char* label, const std::string& stat, const std::string& value, const std::string& small = "") {
    return "<div><dt>" + std::string(label) + "</dt><dd data-stat=\"" + stat + "\">" + value +
           (small.empty() ? "" : " <small>" + small + "</small>") + "</dd></div>";
}

std::string time_limit_text(const ExamRow& exam) {
    if (!exam.time_limit_on) return "non";
    return std::to_string(exam.time_limit) + " s";
}

// Note, score, right answers, type and time spent: the columns that the
// class's list and a student's list share. The note comes first, so that a
// phone shows it beside the name and the date.
void exam_cells(std::ostream& out, const ExamRow& exam) {
    out << "<td class=\"num\" data-value=\"" << exam.score << "\">" << marks_of(exam.score)
        << "/20</td><td class=\"num\" data-value=\"" << exam.score << "\">" << exam.score << " %</td>"
        << "<td class=\"num\" data-value=\"" << exam.right << "\">" << exam.right << " / " << exam.questions
        << "</td><td>" << esc(exam_type_name(exam.type_code)) << "</td>"
        << "<td class=\"num\" data-value=\"" << (exam.seconds ? std::to_string(*exam.seconds) : "") << "\">"
        << (exam.seconds ? duration_text(*exam.seconds) : "—") << "</td>";
}

// The heads of those columns.
constexpr const char* exam_heads =
    "<th class=\"num\" data-sort=\"num\">Note</th><th class=\"num\" data-sort=\"num\">Score</th>"
    "<th class=\"num\" data-sort=\"num\">Justes</th><th>Type</th>"
    "<th class=\"num\" data-sort=\"num\">Temps passé</th>";

void write_exams(std::ostream& out, const QuizStats& quiz, std::size_t index, const ReportLimits& limits) {
    out << "<h3 id=\"quiz-" << index << "-examens\">Examens</h3>\n";
    const auto exams = quiz.recent.in_order();
    if (quiz.recent.kept() < quiz.recent.seen()) {
        out << "<p class=\"note limited\">Les " << count_text(quiz.recent.kept()) << " examens les plus récents sur "
            << count_text(quiz.recent.seen()) << " (option --limit " << limits.exams_per_quiz
            << ") ; la liste complète est dans le fichier examens.csv (option --csv).</p>\n";
    }
    out << "<div class=\"scroll\"><table class=\"sortable exams\"><thead><tr>"
           "<th>Élève</th><th data-sort=\"num\">Date</th>"
        << exam_heads
        << "<th class=\"num wide\" data-sort=\"num\">Temps limité</th><th class=\"wide\">Ordre</th>"
           "<th class=\"wide\">Sens</th></tr></thead><tbody>\n";
    // Most recent first.
    for (auto it = exams.rbegin(); it != exams.rend(); ++it) {
        const ExamRow& exam = **it;
        out << "<tr><td>" << esc(exam.student) << "</td><td class=\"num\" data-value=\"" << exam.date_key << "\">"
            << esc(exam.date) << "</td>";
        exam_cells(out, exam);
        out << "<td class=\"num wide\" data-value=\"" << (exam.time_limit_on ? exam.time_limit : 0) << "\">"
            << time_limit_text(exam) << "</td><td class=\"wide\">" << (exam.random_order ? "aléatoire" : "dans l'ordre")
            << "</td><td class=\"wide\">" << (exam.inverted ? "inversé" : "normal") << "</td></tr>\n";
    }
    out << "</tbody></table></div>\n";
}

void write_discrimination(std::ostream& out, const Discrimination& d) {
    switch (d.kind) {
    case Discrimination::Kind::not_enough_data:
        out << "<td class=\"num muted discrimination\" data-value=\"\">données insuffisantes</td>";
        return;
    case Discrimination::Kind::undefined:
        out << "<td class=\"num muted discrimination\" data-value=\"\" title=\"tous les élèves y ont répondu de "
               "la même façon, ou leurs autres réponses ne varient pas\">—</td>";
        return;
    case Discrimination::Kind::value: {
        std::string css = d.value < 0 ? " negative" : d.value < 0.2 ? " weak" : "";
        if (d.uncertain()) css += " uncertain";
        out << "<td class=\"num discrimination" << css << "\" data-value=\"" << dotted(d.value, 4) << "\" title=\""
            << (d.uncertain() ? "incertaine : " : "") << "sur " << count_text(d.exams)
            << " examens, entre " << french_decimal(d.low, 2) << " et " << french_decimal(d.high, 2)
            << " à 95 %\">" << french_decimal(d.value, 2) << "</td>";
        return;
    }
    }
}

void write_questions(std::ostream& out, const QuizStats& quiz, std::size_t index, const ReportLimits& limits) {
    out << "<h3 id=\"quiz-" << index << "-questions\">Questions</h3>\n"
        << "<p class=\"note\">Réussite : part des réponses justes. Discrimination : corrélation entre la réponse à "
           "la question et le score de l'élève aux autres questions de l'examen, de −1 à 1 ; en dessous de 0,2 la "
           "question sépare mal les élèves qui réussissent des autres, et négative elle mérite d'être relue. Elle "
           "n'est calculée qu'à partir de "
        << discrimination_minimum << " examens ; <span class=\"uncertain\">grisée</span>, elle repose sur moins de "
        << discrimination_confident << " examens et reste incertaine (son intervalle de confiance, au survol, est "
           "large).</p>\n";
    const auto listed = listed_questions(quiz, limits.questions_per_quiz);
    if (listed.size() < quiz.questions.size()) {
        out << "<p class=\"note limited\">Les " << count_text(listed.size()) << " questions les plus posées sur "
            << count_text(quiz.questions.size()) << " (option --limit " << limits.questions_per_quiz
            << ") ; toutes sont dans le fichier statistiques-questions.csv (option --csv).</p>\n";
    }
    out << "<div class=\"scroll\"><table class=\"sortable questions\"><thead><tr><th>Thème</th><th>Question</th>"
           "<th class=\"num\" data-sort=\"num\">Posée</th><th data-sort=\"num\">Réussite</th>"
           "<th class=\"num\" data-sort=\"num\">Discrimination</th><th>Réponses fausses les plus fréquentes</th>"
           "<th class=\"wide\">Types</th></tr></thead><tbody>\n";
    for (const QuestionStats* question : listed) {
        const QuestionStats& q = *question;
        const double facility = q.facility();
        const long percent = std::lround(facility * 100);
        out << "<tr><td>" << esc(q.theme) << "</td><td>" << esc(q.question) << "</td><td class=\"num\" data-value=\"" << q.asked << "\">"
            << count_text(q.asked)
            << "</td><td class=\"facility\" data-value=\"" << dotted(facility, 4) << "\">"
            << share_bar(facility) << percent << " %</td>";
        write_discrimination(out, discrimination(q));
        const auto wrong = q.wrong_answers.top(3);
        out << "<td>";
        if (wrong.empty()) {
            out << "<span class=\"muted\">—</span>";
        } else {
            out << "<ol class=\"wrong\">";
            for (const FrequentAnswers::Answer& answer : wrong) {
                out << "<li>" << (answer.shown.empty() ? "<span class=\"muted\">(sans réponse)</span>"
                                                      : "« " + esc(answer.shown) + " »")
                    << " <span class=\"n\">× " << (answer.exact ? "" : "≈ ") << answer.count << "</span></li>";
            }
            out << "</ol>";
        }
        out << "</td><td class=\"wide types\">" << exam_types_text(q.type_mask) << "</td></tr>\n";
    }
    out << "</tbody></table></div>\n";
}

// The quiz's reliability and standard error of measurement.
std::string reliability_figures(const Reliability& r) {
    const std::string over = r.questions ? "sur " + plural(r.exams, "examen", "examens") + " de " +
                                               std::to_string(r.questions) + " questions"
                                         : "aucun examen de plusieurs questions";
    switch (r.kind) {
    case Reliability::Kind::not_enough_data:
        return figure("Fidélité (KR-20)", "kr20", "—", r.questions ? over + " : moins de " +
                      std::to_string(reliability_minimum) + ", trop peu" : over);
    case Reliability::Kind::undefined:
        return figure("Fidélité (KR-20)", "kr20", "—", over + " : tous le même nombre de réponses justes");
    case Reliability::Kind::value: break;
    }
    return figure("Fidélité (KR-20)", "kr20", french_decimal(r.kr20, 2), over) +
           figure("Erreur type de mesure", "sem", "± " + french_decimal(r.measurement_error / 5, 1),
                  "sur 20 ; " + french_decimal(r.measurement_error, 1) + " %");
}

void write_quiz(std::ostream& out, const QuizStats& quiz, std::size_t index, const ReportLimits& limits) {
    const ScoreDistribution& s = quiz.scores;
    out << "<section class=\"quiz\" id=\"quiz-" << index << "\">\n<h2>" << esc(quiz.name) << "</h2>\n"
        << "<p class=\"lead\">" << plural(quiz.exams, "examen", "examens") << " de "
        << plural(quiz.students.size(), "élève", "élèves") << ", " << period_text(quiz.first_date, quiz.last_date)
        << " ; " << plural(quiz.entries, "question posée", "questions posées") << " ; "
        << exam_types_text(quiz.type_mask) << ".</p>\n";
    out << "<dl class=\"figures\">" << figure("Examens", "exams", count_text(quiz.exams))
        << figure("Moyenne", "mean", marks_text(s.mean()), french_decimal(s.mean(), 1) + " %")
        << figure("Médiane", "median", marks_text(s.median()), french_decimal(s.median(), 1) + " %")
        << figure("Écart type (population)", "sd", french_decimal(s.standard_deviation() / 5, 1),
                  "sur 20 ; " + french_decimal(s.standard_deviation(), 1) + " %")
        << figure("Plus basse", "lowest", std::to_string(marks_of(s.lowest())) + "/20", std::to_string(s.lowest()) + " %")
        << figure("Plus haute", "highest", std::to_string(marks_of(s.highest())) + "/20", std::to_string(s.highest()) + " %")
        << reliability_figures(reliability(quiz.lengths)) << "</dl>\n"
        << "<p class=\"note\">Écart type : celui de l'ensemble des examens (la racine de la moyenne des carrés des "
           "écarts à la moyenne, divisée par leur nombre n et non par n − 1). Fidélité : le KR-20 (l'alpha de "
           "Cronbach de questions justes ou fausses), sur les examens du même nombre de questions, chaque rang de "
           "question comptant comme une question ; au-dessus de 0,7 les notes classent les élèves de façon fiable, "
           "en dessous de 0,5 elles doivent beaucoup au hasard. Erreur type de mesure : l'écart attendu entre la "
           "note d'un élève et celle qu'il aurait en moyenne sur beaucoup d'examens semblables.</p>\n";
    out << "<figure><div class=\"scroll\">" << score_histogram(s.by_marks(), s.mean() / 5, s.median() / 5) << "</div>"
        << "<figcaption>Répartition des notes sur 20 (le score en pour cent divisé par 5, tronqué, comme "
           "l'affiche le questionnaire).</figcaption></figure>\n";
    write_exams(out, quiz, index, limits);
    write_questions(out, quiz, index, limits);
    out << "</section>\n";
}

void write_students(std::ostream& out, const std::vector<const StudentStats*>& students, std::size_t all_students,
                    const ReportLimits& limits) {
    out << "<section class=\"students\" id=\"eleves\">\n<h2>Élèves</h2>\n";
    if (students.size() < all_students) {
        out << "<p class=\"note limited\">Les " << count_text(students.size()) << " élèves vus le plus récemment sur "
            << count_text(all_students) << " (option --limit " << limits.students
            << ") ; tous sont dans le fichier eleves.csv (option --csv).</p>\n";
    }
    out << "<div class=\"scroll\"><table class=\"sortable students\"><thead><tr><th>Élève</th>"
           "<th class=\"num\" data-sort=\"num\">Examens</th><th class=\"num\" data-sort=\"num\">Moyenne</th>"
           "<th class=\"num\" data-sort=\"num\">Dernier examen</th><th class=\"num\" data-sort=\"num\">Dernière note</th>"
           "<th class=\"wide\">Évolution</th></tr></thead><tbody>\n";
    for (std::size_t i = 0; i < students.size(); ++i) {
        const StudentStats& student = *students[i];
        const double mean = student.exams ? student.percent_sum / static_cast<double>(student.exams) : 0;
        out << "<tr><td><a href=\"#eleve-" << i << "\">" << esc(student.name) << "</a></td><td class=\"num\" data-value=\""
            << student.exams << "\">" << count_text(student.exams) << "</td><td class=\"num\" data-value=\""
            << dotted(mean, 2) << "\">" << marks_text(mean) << "</td><td class=\"num\" data-value=\""
            << student.last_date << "\">" << esc(student.last_date_text) << "</td><td class=\"num\" data-value=\""
            << student.last_score << "\">" << marks_of(student.last_score) << "/20</td><td class=\"wide\">"
            << score_trend(student.recent.in_order()) << "</td></tr>\n";
    }
    out << "</tbody></table></div>\n";
    // Each student's exams, folded: the page opens fast whatever the class.
    for (std::size_t i = 0; i < students.size(); ++i) {
        const StudentStats& student = *students[i];
        const auto exams = student.recent.in_order();
        out << "<details class=\"student\" id=\"eleve-" << i << "\"><summary>" << esc(student.name) << " <span>— "
            << plural(student.exams, "examen", "examens") << "</span></summary>\n";
        if (student.recent.kept() < student.recent.seen())
            out << "<p class=\"note limited\">Les " << count_text(student.recent.kept())
                << " examens les plus récents sur " << count_text(student.exams) << " (option --limit "
                << limits.exams_per_student << ") ; tous sont dans le fichier examens.csv (option --csv).</p>\n";
        out << score_trend(exams);
        out << "<div class=\"scroll\"><table class=\"sortable exams\"><thead><tr><th data-sort=\"num\">Date</th>"
               "<th>Questionnaire</th>"
            << exam_heads << "</tr></thead><tbody>\n";
        // Most recent first.
        for (auto it = exams.rbegin(); it != exams.rend(); ++it) {
            const ExamRow& exam = **it;
            out << "<tr><td class=\"num\" data-value=\"" << exam.date_key << "\">" << esc(exam.date) << "</td><td>"
                << esc(exam.quiz) << "</td>";
            exam_cells(out, exam);
            out << "</tr>\n";
        }
        out << "</tbody></table></div></details>\n";
    }
    out << "</section>\n";
}

void write_sources(std::ostream& out, const ReportSources& sources) {
    out << "<section class=\"sources\" id=\"fichiers\">\n<h2>Fichiers lus</h2>\n"
        << "<div class=\"scroll\"><table><thead><tr><th>Fichier</th><th class=\"num\">Taille</th>"
           "<th class=\"num\">Examens lus</th><th class=\"num\">Passages ignorés</th><th>Remarque</th></tr></thead><tbody>\n";
    for (const FileSummary& file : sources.files) {
        out << "<tr><td>" << esc(file.name) << "</td><td class=\"num\">" << count_text(file.size)
            << " o</td><td class=\"num\">" << count_text(file.records) << "</td><td class=\"num\">"
            << count_text(file.skipped_stretches) << "</td><td>";
        std::vector<std::string> remarks;
        if (file.refused) remarks.push_back("<span class=\"negative\">" + esc(*file.refused) + "</span>");
        if (!file.same_as.empty()) remarks.push_back("même fichier que " + esc(file.same_as) + ", lu une seule fois");
        if (!file.saved_as.empty()) remarks.push_back("enregistré en " + file.saved_as + ", lu comme tel");
        if (file.duplicates)
            remarks.push_back(plural(file.duplicates, "examen déjà lu", "examens déjà lus") + " dans " +
                              esc(file.duplicate_of) + ", compté" + (file.duplicates == 1 ? "" : "s") + " une fois");
        if (file.replays)
            remarks.push_back(plural(file.replays, "examen rejoué laissé", "examens rejoués laissés") +
                              " de côté (--first)");
        if (file.left_out)
            remarks.push_back(plural(file.left_out, "examen hors de la sélection", "examens hors de la sélection"));
        for (std::size_t i = 0; i < remarks.size(); ++i) out << (i ? " ; " : "") << remarks[i];
        out << "</td></tr>\n";
    }
    out << "</tbody></table></div>\n";
    if (!sources.warnings.empty()) {
        out << "<h3>Avertissements</h3>\n<p class=\"note\">Un passage endommagé est fait d'octets qui ne forment "
               "pas un examen entier (enregistrement interrompu ou ligne illisible) ; tous les examens entiers qui "
               "l'entourent sont dans le rapport.</p>\n<ul class=\"warnings\">\n";
        for (const std::string& warning : sources.warnings) out << "<li>" << esc(warning) << "</li>\n";
        if (sources.warnings_not_listed)
            out << "<li>… et " << count_text(sources.warnings_not_listed) << " autres.</li>\n";
        out << "</ul>\n";
    }
    out << "</section>\n";
}

}  // namespace

void write_html_report(std::ostream& out, const ClassReport& report, const ReportSources& sources) {
    const auto all_quizzes = report.quizzes();
    const auto quizzes = report.listed_quizzes(sources.limits.quizzes);
    const std::size_t all_students = report.students().size();
    const auto students = report.listed_students(sources.limits.students);
    std::string title = "Résultats";
    if (all_quizzes.size() == 1) title += " — " + all_quizzes.front()->name;

    out << "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           // The page's own script alone may run: the policy names its digest.
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'; "
           "script-src "
        << csp_hash_source(script) << "\">\n"
           "<meta name=\"generator\" content=\"results-report\">\n<title>"
        << esc(title) << "</title>\n<style>" << style << "</style>\n</head>\n<body>\n";

    std::uint64_t skipped = 0;
    std::uint64_t refused = 0;
    std::uint64_t resaved = 0;
    bool utf8 = false, utf16 = false;  // encodings the files were saved in
    for (const FileSummary& file : sources.files) {
        skipped += file.skipped_stretches;
        refused += file.refused ? 1 : 0;
        resaved += file.saved_as.empty() ? 0 : 1;
        utf8 = utf8 || file.saved_as == "UTF-8";
        utf16 = utf16 || file.saved_as == "UTF-16";
    }
    out << "<header>\n<h1>Rapport de résultats</h1>\n<p class=\"lead\" data-stat=\"summary\">"
        << plural(report.exams(), "examen", "examens") << " de " << plural(all_students, "élève", "élèves")
        << " dans " << plural(all_quizzes.size(), "questionnaire", "questionnaires");
    if (report.first_date()) out << ", " << period_text(report.first_date(), report.last_date());
    out << ".";
    if (!sources.selection.empty()) out << " " << esc(sources.selection);
    out << "</p>\n";
    if (skipped || refused || resaved) {
        out << "<p class=\"alert\">";
        if (refused) out << plural(refused, "fichier n'a pas pu être lu", "fichiers n'ont pas pu être lus") << ". ";
        if (skipped)
            out << plural(skipped, "passage endommagé a été ignoré", "passages endommagés ont été ignorés") << ". ";
        if (resaved)
            out << plural(resaved, "fichier a été enregistré", "fichiers ont été enregistrés") << " en "
                << (utf8 && utf16 ? "UTF-8 ou UTF-16" : utf16 ? "UTF-16" : "UTF-8")
                << " par un autre programme ; lu comme tel. ";
        out << "Voir <a href=\"#fichiers\">Fichiers lus</a>.</p>\n";
    }
    out << "<nav><ul>";
    for (std::size_t i = 0; i < quizzes.size(); ++i)
        out << "<li><a href=\"#quiz-" << i << "\">" << esc(quizzes[i]->name) << "</a></li>";
    out << "<li><a href=\"#eleves\">Élèves</a></li><li><a href=\"#fichiers\">Fichiers lus</a></li></ul></nav>\n"
        << "</header>\n<main>\n";
    if (quizzes.empty()) out << "<p>Aucun examen à montrer.</p>\n";
    if (quizzes.size() < all_quizzes.size()) {
        std::uint64_t exams = 0;
        for (const QuizStats* quiz : all_quizzes) exams += quiz->exams;
        for (const QuizStats* quiz : quizzes) exams -= quiz->exams;
        out << "<p class=\"note limited\">Les " << count_text(quizzes.size()) << " questionnaires aux plus d'examens sur "
            << count_text(all_quizzes.size()) << " (option --limit " << sources.limits.quizzes << ") ; les "
            << plural(exams, "examen", "examens")
            << " des autres comptent dans les élèves et sont dans les fichiers CSV (option --csv) ; l'option --quiz NOM "
               "en fait le rapport.</p>\n";
    }
    for (std::size_t i = 0; i < quizzes.size(); ++i) write_quiz(out, *quizzes[i], i, sources.limits);
    if (!students.empty()) write_students(out, students, all_students, sources.limits);
    write_sources(out, sources);
    out << "</main>\n<footer>Rapport établi par results-report à partir des fichiers de résultats des questionnaires "
           "(format 1.3). Notes sur 20 : le score en pour cent divisé par 5. Temps passé : du début de la première "
           "question à la fin de la dernière. Le fichier de résultats n'enregistre pas le mode entraînement.</footer>\n"
        << "<script>" << script << "</script>\n</body>\n</html>\n";
}

}  // namespace kz::report
