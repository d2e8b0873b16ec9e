#!/usr/bin/env python3
"""Holds the brace rule of the README (Layout and style): the body of an if,
else, for, while or do that sits on a line of its own is braced; a short body
on the same line as its condition (`if (c) return x;`) may stay unbraced.

    check-braces.py [--fix] FILE...

Names each unbraced body on a line of its own as FILE:LINE: and fails. With
--fix it braces them instead (the body is the run of lines indented deeper
than its statement, as clang-format lays it out); run clang-format after.
"""
import re
import sys

HEADER = re.compile(r"^(\}\s*)?(else\s+)?(if|for|while)\s*(constexpr\s*)?\(")
ELSE_OR_DO = re.compile(r"^(\}\s*)?(else|do)$")
# String and character literals and comments, so that their brackets do not count.
NOISE = re.compile(r'R"([^(]*)\(.*?\)\1"|"(\\.|[^"\\])*"|\'(\\.|[^\'\\])*\'|//.*$|/\*.*?\*/')


def code_of(line):
    return NOISE.sub('""', line).strip()


def indent_of(line):
    return len(line) - len(line.lstrip(" "))


def unbraced_headers(lines):
    """The indexes of the lines that end a statement head whose body is on the next line."""
    found = []
    i = 0
    while i < len(lines):
        code = code_of(lines[i])
        if ELSE_OR_DO.match(code):
            found.append(i)
            i += 1
            continue
        match = HEADER.match(code)
        if not match:
            i += 1
            continue
        # Follow the condition's brackets to their close, over lines if need be.
        depth = 0
        j = i
        rest = code[match.end() - 1 :]
        while True:
            closed = False
            for k, ch in enumerate(rest):
                depth += ch == "("
                depth -= ch == ")"
                if depth == 0:
                    rest = rest[k + 1 :].strip()
                    closed = True
                    break
            if closed or j + 1 >= len(lines):
                break
            j += 1
            rest = code_of(lines[j])
        # A while with nothing after it ends a do-while only when it ends in ';'.
        if closed and rest == "":
            found.append(j)
        i = j + 1
    return found


def fix(lines):
    """Braces the first unbraced body; returns whether there was one."""
    headers = unbraced_headers(lines)
    if not headers:
        return False
    h = headers[0]
    # The statement's indent is that of the line its head starts on.
    start = h
    while indent_of(lines[start]) > 0 and not (
        HEADER.match(code_of(lines[start])) or ELSE_OR_DO.match(code_of(lines[start]))
    ):
        start -= 1
    base = indent_of(lines[start])
    end = h + 1
    while end < len(lines) and (lines[end].strip() == "" or indent_of(lines[end]) > base):
        end += 1
    while lines[end - 1].strip() == "":
        end -= 1
    lines[h] = lines[h].rstrip("\n") + " {\n"
    lines.insert(end, " " * base + "}\n")
    return True


def main(args):
    do_fix = args[:1] == ["--fix"]
    files = args[1:] if do_fix else args
    bad = 0
    for name in files:
        with open(name, encoding="utf-8") as f:
            lines = f.readlines()
        if do_fix:
            changed = False
            while fix(lines):
                changed = True
            if changed:
                with open(name, "w", encoding="utf-8") as f:
                    f.writelines(lines)
            continue
        for h in unbraced_headers(lines):
            print(f"{name}:{h + 1}: error: the body on the next line needs braces (README, Layout and style)")
            bad += 1
    if bad:
        print(f"check-braces: {bad} unbraced bodies on a line of their own", file=sys.stderr)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
