#!/usr/bin/env python3
# The mutation sampler behind scripts/mutants.sh (usage and rules there).
# Plants one small fault at a time in a product file, rebuilds, runs the
# suites that can see it and restores the file, always.
import argparse
import difflib
import os
import random
import re
import signal
import subprocess
import sys
import time

PRODUCT = re.compile(r"^(base|table|commands|schedule|app)/.*\.(cpp|h)$")
ORIGINALS = "build/mutants/originals"  # a copy of each file while it is mutated
LOGS = "build/mutants"


class Mutant:
    def __init__(self, path, line, col, op, old, new, lines):
        self.path, self.line, self.col, self.op = path, line, col, op
        self.old, self.new, self.lines = old, new, lines  # lines: the whole mutated file

    @property
    def id(self):
        return f"{self.path}:{self.line}:{self.col + 1}:{self.op}"

    def describe(self):
        if self.op == "drop":
            return f"{self.id}  dropped {self.old!r}"
        return f"{self.id}  {self.old!r} -> {self.new!r}"


# --- where the code is -------------------------------------------------------


def mask_code(lines):
    """Each line with comments, the contents of string and character literals
    and preprocessor lines blanked, positions kept, so patterns see code only."""
    masked, in_comment = [], False
    for line in lines:
        if not in_comment and line.lstrip().startswith("#"):
            masked.append(" " * len(line))
            continue
        out, i, quote = list(line), 0, None
        while i < len(line):
            if in_comment:
                if line.startswith("*/", i):
                    out[i : i + 2], in_comment, i = "  ", False, i + 2
                    continue
                out[i], i = " ", i + 1
            elif quote:
                if line[i] == "\\":
                    out[i : i + 2] = " " * len(out[i : i + 2])
                    i += 2
                    continue
                if line[i] == quote:
                    quote = None
                else:
                    out[i] = " "
                i += 1
            elif line.startswith("//", i):
                out[i:] = " " * (len(line) - i)
                break
            elif line.startswith("/*", i):
                out[i : i + 2], in_comment, i = "  ", True, i + 2
            else:
                if line[i] in "\"'":
                    quote = line[i]
                i += 1
        masked.append("".join(out))
    return masked


# --- the faults --------------------------------------------------------------

FLIP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
NOT_CALLS = {"if", "while", "for", "switch", "return", "sizeof", "alignof", "decltype", "static_assert",
             "static_cast", "reinterpret_cast", "const_cast", "noexcept", "alignas", "defined", "catch"}
# A whole-line expression statement: a call, an assignment, an increment.
STATEMENT = re.compile(
    r"^\s*(?:(?:\+\+|--)[A-Za-z_]|(?!(?:return|break|continue|case|default|goto|using|typedef|delete|throw)\b)"
    r"[A-Za-z_*][\w:]*\s*(?:\(|\.|->|\[|[-+*/%&|^]?=(?!=)|<<=|>>=|\+\+|--))")


SIMPLE_ARG = re.compile(r"^[\w.:\[\]]+(?:(?:->|\s*[-+]\s*)[\w.:\[\]]+)*$")


def top_level_args(masked, open_paren):
    """Spans of the comma-separated arguments of the call whose '(' is at
    open_paren, or None when the call does not close on this line."""
    depth, start, spans = 0, open_paren + 1, []
    for i in range(open_paren, len(masked)):
        c = masked[i]
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth == 0:
                spans.append((start, i))
                return spans
        elif c == "," and depth == 1:
            spans.append((start, i))
            start = i + 1
    return None


def line_faults(s, m, prev_code):
    """(col, op, new line or None to drop it, old text, new text) for one
    source line s, masked m."""
    faults = []

    def replace(start, end, text, op):
        faults.append((start, op, s[:start] + text + s[end:], s[start:end], text))

    for mt in re.finditer(r"(?<= )(<=|>=|==|!=|<|>)(?= )", m):
        replace(mt.start(), mt.end(), FLIP[mt.group(1)], "comparison")
    for mt in re.finditer(r"(?<= )(&&|\|\|)(?= )", m):
        replace(mt.start(), mt.end(), "||" if mt.group(1) == "&&" else "&&", "logic")
    for mt in re.finditer(r"!(?!=)", m):
        replace(mt.start(), mt.end(), "", "negation")
    for mt in re.finditer(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)(?=[uUlL]*(?![\w.]))", m):
        text = mt.group(1)
        hexadecimal = text[:2] in ("0x", "0X")
        value = int(text, 16 if hexadecimal else 10)
        for new, op in ((value + 1, "boundary+1"), (value - 1, "boundary-1")):
            if new >= 0:
                spelt = f"0x{new:0{len(text) - 2}X}" if hexadecimal else str(new)
                replace(mt.start(), mt.end(), spelt, op)
    for mt in re.finditer(r"\b(true|false)\b", m):
        replace(mt.start(), mt.end(), "false" if mt.group(1) == "true" else "true", "constant")
    code = m.strip()
    if (STATEMENT.match(m) and code.endswith(";") and code.count("(") == code.count(")")
            and not re.search(r"=\s*(delete|default)\s*;$", code)
            and (prev_code is None or prev_code.endswith((";", "{", "}", ":")))):
        faults.append((len(m) - len(m.lstrip()), "drop", None, s.strip(), ""))
    for mt in re.finditer(r"([A-Za-z_][\w:]*)\s*\(", m):
        before = m[: mt.start()].rstrip()
        word = re.search(r"\w+$", before)
        declaration = re.search(r"(\w|\w>|[\w>][*&])$", before) and not (
            word and word.group(0) in ("return", "else", "case"))
        if mt.group(1) in NOT_CALLS or declaration:
            continue
        args = top_level_args(m, mt.end() - 1)
        for (a0, a1), (b0, b1) in zip(args or [], (args or [])[1:]):
            a, b = s[a0:a1].strip(), s[b0:b1].strip()
            # Plain names, members and numbers only: a swap of a string, a
            # cast or an address with anything else rarely compiles.
            if a != b and SIMPLE_ARG.match(a) and SIMPLE_ARG.match(b):
                a0 += len(s[a0:a1]) - len(s[a0:a1].lstrip())
                b0 += len(s[b0:b1]) - len(s[b0:b1].lstrip())
                swapped = s[:a0] + b + s[a0 + len(a) : b0] + a + s[b0 + len(b) :]
                faults.append((a0, "swap", swapped, s[a0 : b0 + len(b)], swapped[a0 : b0 + len(b)]))
    return faults


def file_mutants(path, wanted_lines):
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    lines = text.split("\n")
    masked = mask_code(lines)
    by_line, prev_code = {}, None
    for index, (s, m) in enumerate(zip(lines, masked)):
        number = index + 1
        if wanted_lines is None or number in wanted_lines:
            found = []
            for col, op, new, old_text, new_text in line_faults(s, m, prev_code):
                mutated = lines[:index] + ([] if new is None else [new]) + lines[index + 1 :]
                found.append(Mutant(path, number, col, op, old_text, new_text, mutated))
            if found:
                by_line[(path, number)] = found
        if m.strip():
            prev_code = m.strip()
    return by_line


def sample(by_line, seed):
    """One mutant per changed line before any line gets a second: lines in a
    random order, each line's mutants in a random order."""
    rng = random.Random(seed)
    keys = sorted(by_line)
    rng.shuffle(keys)
    for key in keys:
        rng.shuffle(by_line[key])
    depth = max((len(v) for v in by_line.values()), default=0)
    return [by_line[k][r] for r in range(depth) for k in keys if r < len(by_line[k])]


# --- selection ---------------------------------------------------------------


def git(*args, check=True):
    return subprocess.run(["git", *args], capture_output=True, text=True, check=check).stdout


def changed_lines(base):
    diff = git("diff", "-U0", base, "--", "base", "table", "commands", "schedule", "app")
    wanted, path = {}, None
    for line in diff.splitlines():
        if line.startswith("+++ "):
            path = line[6:] if line.startswith("+++ b/") else None
        elif line.startswith("@@") and path and PRODUCT.match(path):
            mt = re.match(r"@@ -\S+ \+(\d+)(?:,(\d+))? @@", line)
            first, count = int(mt.group(1)), int(mt.group(2) or 1)
            wanted.setdefault(path, set()).update(range(first, first + count))
    return wanted


# --- building and testing ----------------------------------------------------


class Interrupted(Exception):
    pass


def run_logged(cmd, log):
    with open(log, "w") as f:
        return subprocess.run(cmd, stdout=f, stderr=subprocess.STDOUT).returncode


def failed_tests(log):
    with open(log, errors="replace") as f:
        text = f.read()
    names = re.findall(r"^\s*\d+ - (\S+) \(", text.split("The following tests FAILED:")[-1], re.M)
    return names if "The following tests FAILED:" in text else []


class Suites:
    def __init__(self, native_dir, win_dir):
        self.dirs = {"native": native_dir, "win64": win_dir}
        self.green = set()

    def build(self, suite):
        tree = self.dirs[suite]
        if not os.path.exists(os.path.join(tree, "CMakeCache.txt")):
            if tree != f"build/{suite}":
                sys.exit(f"mutants: {tree} is not a configured build tree")
            subprocess.run(["cmake", "--preset", suite, "-B", tree], stdout=subprocess.DEVNULL, check=True)
        return run_logged(["cmake", "--build", tree, "-j", str(os.cpu_count() or 1)],
                          f"{LOGS}/build-{suite}.log") == 0

    def test(self, suite):
        """True when every test passed; the failing tests' names are in self.failed."""
        tree = self.dirs[suite]
        cmd = ["ctest", "--test-dir", tree, "-j", str(os.cpu_count() or 1), "--stop-on-failure"]
        if suite == "win64":
            cmd = ["scripts/wine-session.sh", tree] + cmd
        log = f"{LOGS}/tests-{suite}.log"
        ok = run_logged(cmd, log) == 0
        self.failed = failed_tests(log) or ["(see " + log + ")"]
        return ok

    def ensure_green(self, suite):
        """The suite passes without any mutant, or the run stops: a red suite
        would call every mutant caught."""
        if suite in self.green:
            return
        print(f"   (building {self.dirs[suite]} and running its tests without mutants first)", flush=True)
        if not self.build(suite):
            sys.exit(f"mutants: {self.dirs[suite]} does not build without mutants ({LOGS}/build-{suite}.log)")
        if not self.test(suite):
            sys.exit(f"mutants: the {suite} tests fail without mutants: {' '.join(self.failed)}")
        self.green.add(suite)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)


def judge(mutant, original, suites, wine):
    """'caught', 'survived' or 'not built', and what decided it."""
    win32_file = "/win32/" in "/" + mutant.path
    order = (["native"] if not win32_file else []) + (["win64"] if wine or win32_file else [])
    for suite in order:
        suites.ensure_green(suite)  # with the original text in place
        write(mutant.path, "\n".join(mutant.lines))
        try:
            if not suites.build(suite):
                return "not built", suite
            if not suites.test(suite):
                return "caught", f"{suite}: {', '.join(suites.failed[:3])}"
        finally:
            write(mutant.path, original)
    return "survived", "+".join(order)


def main():
    parser = argparse.ArgumentParser(prog="mutants.sh", add_help=False)
    parser.add_argument("targets", nargs="*")
    parser.add_argument("--max", type=int, default=30)
    parser.add_argument("--minutes", type=float, default=60)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--ignore")
    parser.add_argument("--dirty", action="store_true")
    parser.add_argument("--no-wine", action="store_true")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--native-dir", default="build/native")
    parser.add_argument("--win-dir", default="build/win64")
    args = parser.parse_args()

    targets = args.targets
    if len(targets) <= 1 and not (targets and os.path.isfile(targets[0])):
        base = targets[0] if targets else git("merge-base", "HEAD", "main", check=False).strip() or "HEAD~1"
        if subprocess.run(["git", "rev-parse", "--verify", "--quiet", base + "^{commit}"],
                          capture_output=True).returncode != 0:
            sys.exit(f"mutants: '{base}' is neither a file nor a commit")
        wanted = changed_lines(base)
        print(f"product lines changed since {base}: {sum(map(len, wanted.values()))} in {len(wanted)} files")
    else:
        bad = [t for t in targets if not PRODUCT.match(os.path.normpath(t))]
        if bad:
            sys.exit(f"mutants: not product files (.cpp/.h under base/ table/ commands/ schedule/ app/): {' '.join(bad)}")
        wanted = {os.path.normpath(t): None for t in targets}
    files = sorted(wanted)
    if not files:
        sys.exit("mutants: no product lines to mutate")
    dirty = git("status", "--porcelain", "--", *files).strip()
    if dirty and not args.dirty:
        sys.exit(f"mutants: uncommitted changes in the files to mutate (commit them, or --dirty):\n{dirty}")

    ignored = set()
    if args.ignore:
        with open(args.ignore) as f:
            ignored = {line.split()[0] for line in f if line.strip() and not line.startswith("#")}

    by_line = {}
    for path in files:
        by_line.update(file_mutants(path, wanted[path]))
    mutants = sample(by_line, args.seed)
    print(f"{len(mutants)} possible mutants on {len(by_line)} lines; seed {args.seed}, "
          f"at most {args.max} built, {args.minutes:g} minutes")
    if args.list:
        for mutant in mutants[: args.max]:
            print(mutant.describe())
        return 0

    originals = {}
    for path in files:
        with open(path, encoding="utf-8", newline="") as f:
            originals[path] = f.read()
        os.makedirs(os.path.dirname(f"{ORIGINALS}/{path}"), exist_ok=True)
        write(f"{ORIGINALS}/{path}", originals[path])  # scripts/mutants.sh restores from here if this dies

    def stop(signum, frame):
        raise Interrupted()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)
    os.makedirs(LOGS, exist_ok=True)
    suites = Suites(args.native_dir, args.win_dir)
    results = {"caught": [], "survived": [], "not built": [], "ignored": []}
    started, tried = time.monotonic(), 0
    try:
        for mutant in mutants:
            built = len(results["caught"]) + len(results["survived"])
            if built >= args.max or tried >= 3 * args.max:
                break
            if time.monotonic() - started > args.minutes * 60:
                print(f"time limit of {args.minutes:g} minutes reached")
                break
            if mutant.id in ignored:
                results["ignored"].append(mutant)
                continue
            tried += 1
            begun = time.monotonic()
            verdict, why = judge(mutant, originals[mutant.path], suites, not args.no_wine)
            results[verdict].append(mutant)
            seconds = time.monotonic() - begun
            print(f"[{tried:3}] {verdict:<9} {mutant.describe()}  ({why}; {seconds:.0f} s)", flush=True)
            if verdict == "survived":
                print(mutant_diff(mutant, originals[mutant.path]), flush=True)
    except (KeyboardInterrupt, Interrupted):
        print("\ninterrupted")
    finally:
        for path, text in originals.items():
            write(path, text)
            os.remove(f"{ORIGINALS}/{path}")
    return report(results, originals, args)


def mutant_diff(mutant, original):
    mutated = "\n".join(mutant.lines)
    return "".join(difflib.unified_diff(original.splitlines(True), mutated.splitlines(True),
                                        f"a/{mutant.path}", f"b/{mutant.path}", n=1))


def report(results, originals, args):
    caught, survived = len(results["caught"]), len(results["survived"])
    rate = f"{100.0 * caught / (caught + survived):.0f}%" if caught + survived else "-"
    print(f"\ncaught {caught}, survived {survived}: rate {rate}; not built {len(results['not built'])}, "
          f"ignored {len(results['ignored'])}")
    for mutant in results["survived"]:
        print(f"  survived: {mutant.describe()}")
    if results["survived"]:
        print("A survivor that changes nothing a user can see: put its id (first word) in a file for --ignore.")
    for path, text in originals.items():
        with open(path, encoding="utf-8", newline="") as f:
            if f.read() != text:
                print(f"mutants: {path} differs from its text before the run: check git diff", file=sys.stderr)
                return 3
    if not args.dirty and git("status", "--porcelain", "--", *originals).strip():
        print("mutants: a mutated file differs from its commit after the run: check git diff", file=sys.stderr)
        return 3
    return 0


if __name__ == "__main__":
    sys.exit(main())
