#!/usr/bin/env python3
"""Checks that every command the project's shell scripts call is installed by the scripts.

A command is fine when it is a shell builtin or keyword, a function of the scripts, a path
(a script of the repository or a program the build makes), or named in an install list: the
file scripts/lib/packages.txt or a list given to need_packages_from_list. Anything else would
work only on a machine where somebody installed it by hand. The scan is a small shell lexer:
quotes, command and process substitution, here-documents, case patterns and [[ ]] are
understood well enough for the project's own scripts.

Usage: check_commands.py REPOSITORY_ROOT
"""
import pathlib
import re
import sys

BUILTINS = set("""
    ! [ [[ ]] { } . : alias bg bind break builtin case cd command compgen complete continue
    declare dirs disown do done echo elif else enable esac eval exec exit export false fc fg
    fi for function getopts hash help history if in jobs kill let local logout mapfile popd
    printf pushd pwd read readarray readonly return select set shift shopt source suspend
    test then time times trap true type typeset ulimit umask unalias unset until wait while
""".split())
# Commands that run the command after their own options and arguments.
WRAPPERS = {"exec": 0, "env": 0, "timeout": 1, "nice": 0, "nohup": 0, "xargs": 0}
ASSIGNMENT = re.compile(r"^[A-Za-z_][A-Za-z0-9_]*(\[[^]]*\])?\+?=")


class Lexer:
    """Collects (line, words) of each simple command; a word holding an expansion has '$'."""

    def __init__(self, text):
        self.text = text.replace("\\\n", " ")
        self.pos = 0
        self.line = 1
        self.commands = []
        self.functions = set()
        self.heredocs = []

    def peek(self, offset=0):
        index = self.pos + offset
        return self.text[index] if index < len(self.text) else ""

    def advance(self):
        char = self.text[self.pos]
        self.pos += 1
        if char == "\n":
            self.line += 1
        return char

    def skip_heredocs(self):
        for delimiter, strip_tabs in self.heredocs:
            while self.pos < len(self.text):
                end = self.text.find("\n", self.pos)
                end = len(self.text) if end < 0 else end
                line = self.text[self.pos:end]
                self.pos = end + 1
                self.line += 1
                if (line.lstrip("\t") if strip_tabs else line) == delimiter:
                    break
        self.heredocs = []

    def skip_balanced(self, opening, closing):
        depth = 0
        while self.pos < len(self.text):
            char = self.advance()
            if char == opening:
                depth += 1
            elif char == closing:
                depth -= 1
                if depth == 0:
                    return

    def single_quoted(self):
        end = self.text.index("'", self.pos)
        value = self.text[self.pos:end]
        self.line += value.count("\n")
        self.pos = end + 1
        return value

    def double_quoted(self):
        value = ""
        while self.peek() != '"':
            char = self.peek()
            if char == "\\":
                self.advance()
                value += self.advance()
            elif char in "$`":
                value += self.expansion()
            else:
                value += self.advance()
        self.advance()
        return value

    def expansion(self):
        """Reads a $ or ` expansion, scanning the commands inside; gives '$'."""
        if self.peek() == "`":
            self.advance()
            self.scan(stop="`")
        elif self.peek(1) == "(" and self.peek(2) == "(":
            self.skip_balanced("(", ")")
        elif self.peek(1) == "(":
            self.pos += 2
            self.scan(stop=")")
        elif self.peek(1) == "{":
            self.advance()
            self.skip_balanced("{", "}")
        else:
            self.advance()
        return "$"

    def scan(self, stop=None, words_only=False):
        """Scans commands until the stop character (or the end); gives nothing."""
        words, word, in_word = [], "", False
        redirect_target = in_test = expect_pattern = in_case_header = False
        start_line = self.line

        def end_word():
            nonlocal word, in_word, redirect_target, in_test, in_case_header, expect_pattern
            if in_word:
                if redirect_target:
                    redirect_target = False
                else:
                    words.append(word)
                    if len(words) == 1 and word == "[[":
                        in_test = True
                    elif word == "]]":
                        in_test = False
                    elif len(words) == 1 and word == "case":
                        in_case_header = True
                    elif in_case_header and word == "in":
                        in_case_header, expect_pattern = False, True
                        words.clear()
            word, in_word = "", False

        def end_command():
            nonlocal words, start_line, redirect_target
            end_word()
            redirect_target = False
            if words and not words_only and not expect_pattern and not in_case_header:
                self.commands.append((start_line, words))
            words = []
            start_line = self.line

        while self.pos < len(self.text):
            char = self.peek()
            if stop and char == stop and not (stop == ")" and expect_pattern):
                self.advance()
                end_command()
                return
            if char == "\\":
                self.advance()
                word += self.advance() if self.pos < len(self.text) else ""
                in_word = True
            elif char == "'":
                self.advance()
                word += self.single_quoted()
                in_word = True
            elif char == '"':
                self.advance()
                word += self.double_quoted()
                in_word = True
            elif char in "$`":
                word += self.expansion()
                in_word = True
            elif char == "#" and not in_word:
                while self.pos < len(self.text) and self.peek() != "\n":
                    self.advance()
            elif in_test and char in "&|<>()":
                word += self.advance()
                in_word = True
            elif char in " \t":
                self.advance()
                end_word()
            elif char == "\n":
                self.advance()
                end_command()
                self.skip_heredocs()
            elif char in ";&|":
                self.advance()
                if char == ";" and self.peek() in ";&":
                    self.advance()
                    end_command()
                    expect_pattern = True
                    continue
                end_command()
            elif char in "<>":
                if in_word and word.isdigit():
                    word, in_word = "", False
                end_word()
                operator = ""
                while self.peek() in "<>&|" and self.peek():
                    operator += self.advance()
                if self.peek() == "(" and operator in ("<", ">"):
                    self.advance()
                    self.scan(stop=")")
                    redirect_target = False
                    continue
                if operator in ("<<", "<<-"):
                    while self.peek() in " \t":
                        self.advance()
                    delimiter = ""
                    while self.peek() and self.peek() not in " \t\n;&|<>":
                        char = self.advance()
                        delimiter += "" if char in "'\"" else char
                    self.heredocs.append((delimiter, operator == "<<-"))
                elif not operator.endswith("&") or self.peek() not in "-0123456789":
                    redirect_target = True
                else:
                    self.advance()
            elif char == "(":
                self.advance()
                if in_word and word.endswith("="):
                    self.scan(stop=")", words_only=True)
                    word += "$"
                elif not in_word and self.peek() == "(":
                    self.pos -= 1
                    self.skip_balanced("(", ")")
                elif in_word and self.peek() == ")":
                    self.advance()
                    self.functions.add(word)
                    word, in_word = "", False
                    words.clear()
                else:
                    end_command()
                    self.scan(stop=")")
            elif char == ")":
                self.advance()
                if expect_pattern:
                    word, in_word = "", False
                    words.clear()
                    expect_pattern = False
                    start_line = self.line
                else:
                    end_command()
            else:
                word += self.advance()
                in_word = True
        end_command()


def command_name(words):
    """The program a simple command runs, or None when it runs none that could be missing."""
    index = 0
    while index < len(words) and ASSIGNMENT.match(words[index]):
        index += 1
    while index < len(words):
        word = words[index]
        if word in ("!", "time", "then", "do", "else", "elif", "if", "while", "until", "{"):
            index += 1
        elif word in ("for", "select", "function", "case", "esac", "}", "fi", "done"):
            return None
        elif word in WRAPPERS:
            index += 1
            arguments = WRAPPERS[word]
            while index < len(words) and (words[index].startswith("-") or ASSIGNMENT.match(words[index])):
                index += 2 if words[index] in ("-u", "-s", "-k") else 1
            index += arguments
        elif word == "command" and index + 1 < len(words) and words[index + 1].startswith("-"):
            return None
        else:
            break
    if index >= len(words):
        return None
    word = words[index]
    if "$" in word or "/" in word or "=" in word:
        return None
    return word


def install_lists(root, scripts):
    """The commands and files named in the install lists (first column of each line)."""
    entries = {}

    def add(text, where):
        for line in text.splitlines():
            fields = line.split("#", 1)[0].split()
            if len(fields) == 2:
                entries[fields[0]] = (fields[1], where)

    add((root / "scripts/lib/packages.txt").read_text(), "scripts/lib/packages.txt")
    for script in scripts:
        for match in re.finditer(r"need_packages_from_list <<\s*'LIST'\n(.*?)\nLIST\n", script.read_text(), re.S):
            add(match.group(1), str(script.relative_to(root)))
    return entries


def shell_scripts(root):
    for path in sorted(root.rglob("*")):
        parts = path.relative_to(root).parts
        if not path.is_file() or parts[0] in ("build", ".git") or parts[:2] == ("tests", "data"):
            continue
        if path.suffix == ".sh":
            yield path
        elif not path.suffix:
            with path.open("rb") as file:
                first = file.readline()
            if first.startswith(b"#!") and re.search(rb"\b(ba)?sh\b", first):
                yield path


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    scripts = list(shell_scripts(root))
    installed = install_lists(root, scripts)
    lexers = []
    for script in scripts:
        lexer = Lexer(script.read_text())
        lexer.scan()
        lexers.append((script, lexer))
    functions = set().union(*(lexer.functions for _, lexer in lexers))
    problems, used = [], set()
    for script, lexer in lexers:
        for line, words in lexer.commands:
            name = command_name(words)
            if name is None or name in BUILTINS or name in functions:
                continue
            used.add(name)
            if name not in installed:
                problems.append(f"{script.relative_to(root)}:{line}: '{name}' is installed by no script")
    for problem in problems:
        print(problem)
    print(f"{len(scripts)} scripts, {len(used)} commands, {len(problems)} not installed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
