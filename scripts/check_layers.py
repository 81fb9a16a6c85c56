#!/usr/bin/python3
"""Checks that every include of the product's code runs downwards through its
layers: a folder may include its own headers and those of the folders listed
before it, never those of a folder listed after it, and a front end (the
Windows runner, the terminal player, the web player, the tools) never includes
another one.

Every source file of the tree is read, whatever git knows of it (build trees
left out), and each include is resolved to the file it names: beside the
including file, then in the include folders of the builds. An include through
a macro cannot be checked and is refused. Tests (tests/) are not checked: they
may reach any layer they test; the product may not include them.

Usage: scripts/check_layers.py [tree]   (default: this repository)
"""
import collections
import os
import re
import sys

# The layers, from the bottom up: each group (the portable core, or one front
# end) with its folders in their order.
LAYERS = [
    ("core", ["core/common", "core/res", "core/quiz", "core/media", "core/exam", "core/results",
              "core/questions", "core/engine"]),
    ("windows", ["windows/win32", "windows/resources", "windows/display", "windows/system",
                 "windows/host", "windows/dialogs", "windows/pages", "windows/frame", "windows/app"]),
    ("terminal", ["terminal"]),
    ("web", ["web"]),
    ("tools", ["tools/common", "tools/pe_fixup", "tools/packer", "tools/results_report"]),
]

# The folders in which each group's builds look for an include, after the
# including file's own folder (target_include_directories of their
# CMakeLists, with those of the libraries they link).
INCLUDE_ROOTS = {
    "core": ["core"],
    "windows": ["windows", "core"],
    "terminal": ["terminal", "core"],
    "web": ["web", "core"],
    "tools": ["tools/common", "tools/packer", "tools/results_report", "core"],
}

# What is not the product's source: its tests, the build trees (any folder
# holding a CMakeCache.txt too) and git's own folder.
NOT_PRODUCT = {"tests", "build", "out", ".git"}

SOURCE = re.compile(r"\.(c|cc|cpp|cxx|c\+\+|cppm|ixx|h|hh|hpp|hxx|h\+\+|inl|ipp|tcc|tpp|inc|def|rc)$",
                    re.IGNORECASE)

# Comments, and the literals that may hold what looks like one; a raw string
# may also hold what looks like a directive.
LEXEMES = re.compile(r"""
    (?P<line_comment> //[^\n]* )
  | (?P<block_comment> /\*.*?(?:\*/|\Z) )
  | (?P<raw_string> (?<![\w])(?:u8|u|U|L)?R"(?P<delimiter>[^()\\\s"]{0,16})\(.*?(?:\)(?P=delimiter)"|\Z) )
  | "(?:\\.|[^"\\\n])*"
  | '(?:\\.|[^'\\\n])*'
""", re.DOTALL | re.VERBOSE)

# An include directive (# or its digraph %:, include_next, GCC's import), or a
# header unit's import.
DIRECTIVE = re.compile(r"^\s*(?:(?:#|%:)\s*(?:include|include_next|import)\b|(?:export\s+)?import\s*(?=[<\"]))"
                       r"\s*(?P<operand>.*)$")
OPERAND = re.compile(r'^(?:"(?P<quoted>[^"]*)"|<(?P<angled>[^>]*)>)')


def includes_of(text):
    """The includes of a C++ (or resource script) text, as (line, name,
    quoted) where name is None for an include through a macro, whose operand
    is given in its place."""
    # A byte order mark is no character of the text. Lines continued by a
    # backslash (blanks after it too, as g++ takes them) are one line; the
    # first one numbers it.
    text = text.removeprefix("\xef\xbb\xbf")
    first_lines, logical, pending = [], [], []
    for number, line in enumerate(text.split("\n"), 1):
        if not pending:
            first_lines.append(number)
        if line.rstrip().endswith("\\"):
            pending.append(line.rstrip()[:-1])
        else:
            logical.append("".join(pending) + line)
            pending = []
    if pending:
        logical.append("".join(pending))

    def blank(match):
        if match.group("line_comment") or match.group("block_comment"):
            return " " + "\n" * match.group(0).count("\n")
        if match.group("raw_string"):
            return '""' + "\n" * match.group(0).count("\n")
        return match.group(0)

    found = []
    for index, line in enumerate(LEXEMES.sub(blank, "\n".join(logical)).split("\n")):
        directive = DIRECTIVE.match(line)
        if not directive:
            continue
        operand = directive.group("operand").strip()
        name = OPERAND.match(operand)
        if name:
            quoted = name.group("quoted") is not None
            found.append((first_lines[index], name.group("quoted" if quoted else "angled"), quoted))
        else:
            found.append((first_lines[index], None, operand))
    return found


class Tree:
    def __init__(self, top):
        self.top = os.path.realpath(top)
        self.group_of, self.rank_of = {}, {}
        for group, folders in LAYERS:
            for folder in folders:
                self.group_of[folder] = group
                self.rank_of[folder] = len(self.rank_of) + 1
        self.problems = []

    def folder_of(self, path):
        """The layer folder that holds a path of the tree: the longest listed
        one; None for a path in no layer."""
        best = None
        for folder in self.rank_of:
            if (path == folder or path.startswith(folder + "/")) and len(folder) > len(best or ""):
                best = folder
        return best

    def relative(self, path):
        """A path of the tree from its top, or None for one outside it."""
        path = os.path.relpath(os.path.realpath(path), self.top)
        return None if path == ".." or path.startswith("../") else path.replace(os.sep, "/")

    def walk(self):
        """Every file of the product, from the top of the tree (tests and
        build trees left out)."""
        for directory, folders, files in os.walk(self.top):
            if "CMakeCache.txt" in files:
                folders[:] = []
                continue
            if directory == self.top:
                folders[:] = [f for f in folders if f not in NOT_PRODUCT]
            folders.sort()
            for name in sorted(files):
                yield os.path.relpath(os.path.join(directory, name), self.top).replace(os.sep, "/")

    def resolve(self, file, name, quoted, group):
        """The file of the tree that an include names, or None (a system or
        generated header): beside the including file for a quoted name, then
        in the group's include folders, then in those of the other groups (an
        include that only another front end's build would find is still a
        reach into it)."""
        roots = [os.path.dirname(file)] if quoted else []
        roots += INCLUDE_ROOTS.get(group, [])
        roots += [root for other in INCLUDE_ROOTS.values() for root in other if root not in roots]
        for root in roots:
            candidate = os.path.join(self.top, root, name)
            if os.path.isfile(candidate):
                return self.relative(candidate) or None
        return None

    def fail(self, message):
        self.problems.append("layers: " + message)

    def check_include_roots(self, file):
        """A CMakeLists that gives an include folder which this check does not
        search would let includes through unseen."""
        with open(os.path.join(self.top, file), encoding="utf-8", errors="replace") as source:
            text = re.sub(r"#[^\n]*", "", source.read())
        here = os.path.dirname(file)
        # The builds it speaks for: those of the layer that holds it, or of
        # every layer below it (core/ for the whole core, the top for all).
        folder = self.folder_of(here)
        groups = {self.group_of[folder]} if folder else {
            self.group_of[f] for f in self.rank_of if here == "" or f.startswith(here + "/")}
        for call in re.finditer(r"\b(target_)?include_directories\s*\(([^)]*)\)", text, re.IGNORECASE):
            words = call.group(2).split()[1 if call.group(1) else 0:]
            for word in words:
                if word in ("PUBLIC", "PRIVATE", "INTERFACE", "SYSTEM", "BEFORE", "AFTER"):
                    continue
                for variable in ("${CMAKE_CURRENT_SOURCE_DIR}", "${CMAKE_CURRENT_LIST_DIR}"):
                    word = word.replace(variable, os.path.join(self.top, here))
                for variable in ("${PROJECT_SOURCE_DIR}", "${CMAKE_SOURCE_DIR}"):
                    word = word.replace(variable, self.top)
                word = re.sub(r"^\$<(?:BUILD_INTERFACE|BUILD_LOCAL_INTERFACE):(.*)>$", r"\1", word)
                if "$" in word:
                    continue  # a build tree's folder or a system one
                root = self.relative(os.path.join(self.top, here, word.strip('"')))
                for group in sorted(groups):
                    if root is not None and root not in INCLUDE_ROOTS[group]:
                        self.fail(f"{file} gives the include folder {root}, which is not among the "
                                  f"include folders of {group} that this check searches")

    def check(self):
        files = list(self.walk())
        for file in files:
            if os.path.basename(file) == "CMakeLists.txt" or file.endswith(".cmake"):
                self.check_include_roots(file)
        queue = collections.deque(f for f in files if SOURCE.search(f))
        seen = set(queue)
        for folder in self.rank_of:
            if not any(self.folder_of(os.path.dirname(f)) == folder for f in queue):
                self.fail(f"{folder} holds no source file: the layers no longer match the tree")
        if not queue:
            self.fail(f"no source file found in {self.top}: nothing was checked")

        includes = 0
        while queue:
            file = queue.popleft()
            own = self.folder_of(os.path.dirname(file))
            if own is None:
                self.fail(f"{file} lies in a folder of no layer")
                continue
            # Read byte for byte: the directives are ASCII whatever the text's encoding.
            with open(os.path.join(self.top, file), encoding="latin-1") as source:
                text = source.read()
            for line, name, quoted in includes_of(text):
                where = f"{file}:{line}"
                if name is None:
                    self.fail(f"{where} includes through a macro ({quoted}): name the file itself")
                    continue
                target = self.resolve(file, name, quoted, self.group_of[own])
                if target is None:
                    continue
                includes += 1
                to = self.folder_of(os.path.dirname(target))
                if to is not None and target not in seen:  # a header of an unusual name is read too
                    seen.add(target)
                    queue.append(target)
                if to is None:
                    self.fail(f"{where} includes {name}, which lies in a folder of no layer ({target})")
                elif self.group_of[to] not in ("core", self.group_of[own]):
                    other = "a front end" if self.group_of[own] == "core" else "another front end"
                    self.fail(f"{where} includes {name} of {other} ({target})")
                elif self.rank_of[to] > self.rank_of[own]:
                    self.fail(f"{where} ({own}) includes {name} of a higher layer ({target})")
        if not self.problems:
            print(f"layers: every include runs downwards ({len(seen)} files, {includes} includes of the product)")
        for problem in self.problems:
            print(problem)
        return 0 if not self.problems else 1


def main():
    top = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    if not os.path.isdir(top):
        print(f"layers: {top} is not a folder")
        return 1
    return Tree(top).check()


if __name__ == "__main__":
    sys.exit(main())
