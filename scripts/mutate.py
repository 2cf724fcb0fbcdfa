"""Planted faults for scripts/mutate (which prepares the build and the private world).

A mutant is one line of one source file changed in one way. It is written down as
    path <TAB> kind <TAB> the line as it stands <TAB> the line as the mutant has it
(both without their indentation). A line is named by its text, not its number, so the list
stays valid while other lines of the file change; a line that is no longer there, or no
longer once, makes its mutant "stale".
"""
import argparse
import json
import os
import random
import re
import shlex
import signal
import subprocess
import sys
import time

SOURCE_SUFFIXES = (".cpp", ".h")
PRODUCT_FOLDERS = ("app", "ui", "playlist", "tags", "playback", "sound", "platform", "controls",
                   "components", "desktop")
FLIPPED = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
# Calls whose two arguments can change places without changing anything.
SYMMETRIC_CALLS = {"min", "max", "qMin", "qMax", "std::min", "std::max", "qFuzzyCompare",
                   "QPoint", "QSize", "QPointF", "QSizeF", "connect", "disconnect"}
SKIPPED_LINE = re.compile(r"^(#|//|/\*|\*|static_assert|Q_[A-Z_]+|qWarning|qDebug|qInfo|"
                          r"qCritical|case |default:|template|using |namespace |public:|"
                          r"private:|protected:|signals:|slots:|Q_OBJECT)")


class Mutant:
    def __init__(self, path, kind, before, after):
        self.path, self.kind, self.before, self.after = path, kind, before, after

    def key(self):
        return "\t".join((self.path, self.kind, self.before, self.after))

    def shown(self):
        return f"{self.path}  {self.kind}  '{self.before}' -> '{self.after}'"


# ---------------------------------------------------------------------------------------------
# Finding the mutants a line offers


def code_mask(line):
    """True for each character outside string and character literals and comments."""
    mask, quote, i = [], None, 0
    while i < len(line):
        c = line[i]
        if quote:
            mask.append(False)
            if c == "\\" and i + 1 < len(line):
                mask.append(False)
                i += 2
                continue
            if c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            mask.append(False)
        elif line.startswith("//", i):
            mask.extend([False] * (len(line) - i))
            break
        else:
            mask.append(True)
        i += 1
    return mask


def closing_paren(line, opening):
    depth = 0
    for i in range(opening, len(line)):
        if line[i] == "(":
            depth += 1
        elif line[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def offered(line):
    """Every (kind, mutated line) this line offers."""
    if not line or SKIPPED_LINE.match(line) or "\"" in line and line.count("\"") % 2:
        return []
    mask = code_mask(line)
    found = []

    def in_code(start, end):
        return all(mask[start:end])

    for m in re.finditer(r" (<=|>=|==|!=|<|>) ", line):
        if in_code(m.start(), m.end()):
            found.append(("comparison", line[:m.start(1)] + FLIPPED[m.group(1)] + line[m.end(1):]))
    for m in re.finditer(r" (&&|\|\|) ", line):
        if in_code(m.start(), m.end()):
            other = "||" if m.group(1) == "&&" else "&&"
            found.append(("logic", line[:m.start(1)] + other + line[m.end(1):]))
    for m in re.finditer(r" [+-] 1(?![\w.])", line):
        if in_code(m.start(), m.end()):
            found.append(("off-by-one", line[:m.start()] + line[m.end():]))
    for m in re.finditer(r"\b(if|while) \(", line):
        opening = m.end() - 1
        closing = closing_paren(line, opening)
        if closing > 0 and in_code(m.start(), closing + 1):
            condition = line[opening + 1:closing]
            found.append(("negated", f"{line[:opening + 1]}!({condition}){line[closing:]}"))
    if (re.match(r"^(emit )?[A-Za-z_][\w:]*((\.|->)[A-Za-z_]\w*)*\(.*\);$", line)
            and closing_paren(line, line.index("(")) == len(line) - 2 and all(mask)):
        found.append(("dropped call", ";"))
    for m in re.finditer(r"\b([A-Za-z_][\w:]*)\(([A-Za-z_][\w.]*|-?\d+(?:\.\d+)?f?), "
                         r"([A-Za-z_][\w.]*|-?\d+(?:\.\d+)?f?)\)", line):
        if m.group(1) not in SYMMETRIC_CALLS and m.group(2) != m.group(3) \
                and in_code(m.start(), m.end()):
            found.append(("swapped arguments",
                          f"{line[:m.start(2)]}{m.group(3)}, {m.group(2)}{line[m.end(3):]}"))
    for m in re.finditer(r"(?<![\w.])(\d+\.\d+|\d+)(f?)(?![\w.])", line):
        if in_code(m.start(), m.end()):
            text = m.group(1)
            changed = str(float(text) + 1.0) if "." in text else str(int(text) + 1)
            found.append(("constant", line[:m.start(1)] + changed + line[m.end(1):]))
    m = re.match(r"^return (.+);$", line)
    if m and all(mask):
        value = m.group(1)
        if value in ("true", "false"):
            found.append(("forced return",
                          "return " + ("false" if value == "true" else "true") + ";"))
        elif value in ("0", "{}", "nullptr", "QString()", "0.0", "0.0f"):
            pass
        else:
            found.append(("forced return", "return {};"))
    return found


def unique_lines(text):
    lines = [l.strip() for l in text.splitlines()]
    counts = {}
    for l in lines:
        counts[l] = counts.get(l, 0) + 1
    return [l for l in lines if counts[l] == 1]


def source_files(root, paths):
    files = []
    for path in paths:
        full = os.path.join(root, path)
        if os.path.isfile(full):
            files.append(os.path.relpath(full, root))
            continue
        for folder, _, names in os.walk(full):
            for name in names:
                if name.endswith(SOURCE_SUFFIXES):
                    files.append(os.path.relpath(os.path.join(folder, name), root))
    return sorted(set(files))


# ---------------------------------------------------------------------------------------------
# Putting a mutant in and taking it out again


def read_text(path):
    with open(path, encoding="utf-8", errors="surrogateescape", newline="") as f:
        return f.read()


def write_text(path, text):
    with open(path, "w", encoding="utf-8", errors="surrogateescape", newline="") as f:
        f.write(text)


class Planted:
    """The one file a mutant has changed, written back on leaving, on a signal, and at the next
    start when the run was killed outright (its first bytes are kept in the build folder)."""

    def __init__(self, root, build):
        self.root, self.pending = root, os.path.join(build, "mutant-pending.json")
        self.restore_pending()

    def restore_pending(self):
        if os.path.exists(self.pending):
            with open(self.pending) as f:
                saved = json.load(f)
            write_text(os.path.join(self.root, saved["path"]), saved["text"])
            os.remove(self.pending)
            print(f"mutate: {saved['path']} put back after an interrupted run")

    def __call__(self, mutant):
        self.mutant = mutant
        return self

    def __enter__(self):
        path = os.path.join(self.root, self.mutant.path)
        self.text = None
        if not os.path.exists(path):
            return False
        text = read_text(path)
        lines = text.split("\n")
        at = [i for i, l in enumerate(lines) if l.strip() == self.mutant.before]
        if len(at) != 1:
            return False
        self.text = text
        with open(self.pending + ".new", "w") as f:
            json.dump({"path": self.mutant.path, "text": text}, f)
        os.replace(self.pending + ".new", self.pending)
        line = lines[at[0]]
        lines[at[0]] = line[:len(line) - len(line.lstrip())] + self.mutant.after
        write_text(path, "\n".join(lines))
        return True

    def __exit__(self, *exc):
        if self.text is not None:
            write_text(os.path.join(self.root, self.mutant.path), self.text)
            os.remove(self.pending)
        return False


def interrupted(signum, frame):
    raise KeyboardInterrupt


# ---------------------------------------------------------------------------------------------
# Picking mutants


class CompileCheck:
    """Whether a mutated file still compiles, asked of the compiler alone (-fsyntax-only)."""

    def __init__(self, root, build):
        self.root = root
        with open(os.path.join(build, "compile_commands.json")) as f:
            self.commands = {os.path.relpath(e["file"], root): e for e in json.load(f)}

    def unit_for(self, path):
        if path in self.commands:
            return path
        header = os.path.basename(path)
        for unit in sorted(self.commands):
            if unit.startswith(os.path.dirname(path)) and not unit.startswith(("tests", "bench")):
                with open(os.path.join(self.root, unit)) as f:
                    if f'"{header}"' in f.read():
                        return unit
        return None

    def compiles(self, path):
        unit = self.unit_for(path)
        if unit is None:
            return False
        entry = self.commands[unit]
        words = shlex.split(entry["command"])
        if "-o" in words:
            at = words.index("-o")
            del words[at:at + 2]
        words.append("-fsyntax-only")
        return subprocess.run(words, cwd=entry["directory"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0


def pick(root, build, wanted, seed):
    """wanted: [(path, count)]; the same paths, counts and seed always give the same mutants."""
    check, planted, picked = CompileCheck(root, build), Planted(root, build), []
    for path, count in wanted:
        candidates = []
        for file in source_files(root, [path]):
            for line in unique_lines(read_text(os.path.join(root, file))):
                candidates += [Mutant(file, kind, line, after) for kind, after in offered(line)]
        random.Random(f"{seed}:{path}").shuffle(candidates)
        taken = 0
        for mutant in candidates:
            if taken == count:
                break
            if any(m.key() == mutant.key() for m in picked):
                continue
            with planted(mutant) as applied:
                if applied and check.compiles(mutant.path):
                    picked.append(mutant)
                    taken += 1
    return picked


def read_list(path):
    mutants = []
    with open(path) as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                mutants.append(Mutant(*line.rstrip("\n").split("\t")))
    return mutants


# ---------------------------------------------------------------------------------------------
# Running the tests on a mutant


class TestPrograms:
    def __init__(self, root, build):
        self.root, self.build = root, build
        listed = json.loads(subprocess.run(["ctest", "--show-only=json-v1"], cwd=build,
                                           capture_output=True, text=True, check=True).stdout)
        self.tests = {}
        for test in listed["tests"]:
            self.tests.setdefault(test["command"][0], []).append(test["name"])
        # Test programs that start the built player rather than link its code.
        self.players = set()
        for folder, _, names in os.walk(os.path.join(root, "tests")):
            if "CMakeLists.txt" in names:
                with open(os.path.join(folder, "CMakeLists.txt")) as f:
                    for m in re.finditer(r"add_dependencies\((\w+)[^)]*quillet-jukebox", f.read()):
                        self.players.add(m.group(1))
        self.seconds, self.unsteady = {}, set()

    def stamps(self):
        found = {}
        for program in list(self.tests) + [os.path.join(self.build, "quillet-jukebox")]:
            found[program] = os.path.getmtime(program) if os.path.exists(program) else 0
        return found

    def run(self, programs, limit, only=None):
        """The tests of these programs (or only the named one), two at a time, up to the first
        failure: the failed test's name, 'hang' past the time limit, or None when all passed.
        A failed test is run once more alone, and counts only when it fails again: the tests
        that play in real time through the sound server can miss a deadline on a loaded
        machine."""
        passed_again = set()
        while True:
            names = [n for p in programs for n in self.tests[p]
                     if n not in self.unsteady and n not in passed_again
                     and (only is None or n == only)]
            if not names:
                return None
            failed = self.ctest(names, limit)
            if failed in (None, "hang") or failed.startswith("exit status"):
                return failed
            if self.ctest([failed], limit) is None:
                passed_again.add(failed)
                continue
            return failed

    def ctest(self, names, limit):
        pattern = "^(" + "|".join(re.escape(n) for n in names) + ")$"
        try:
            done = subprocess.run(["ctest", "-R", pattern, "--stop-on-failure", "-j", "2"],
                                  cwd=self.build, capture_output=True, text=True, timeout=limit)
        except subprocess.TimeoutExpired:
            return "hang"
        if done.returncode == 0:
            return None
        failed = re.findall(r"^\s*\d+ - (\S+) \(", done.stdout, re.M)
        return failed[0] if failed else "exit status " + str(done.returncode)

    def measure(self):
        """Every test once, unmutated: their times, and the tests that fail twice without any
        fault planted (left out of every later run, and told)."""
        done = subprocess.run(["ctest", "-j", "2"], cwd=self.build, capture_output=True,
                              text=True)
        program_of = {n: p for p, names in self.tests.items() for n in names}
        self.seconds = dict.fromkeys(self.tests, 0.0)
        for name, outcome, seconds in re.findall(
                r"Test +#\d+: (\S+) \.+\**\s*(\w+.*?)\s+([\d.]+) sec", done.stdout):
            if name in program_of:
                program = program_of[name]
                self.seconds[program] += float(seconds)
            if not outcome.startswith("Passed"):
                again = subprocess.run(["ctest", "-R", f"^{re.escape(name)}$"], cwd=self.build,
                                       capture_output=True)
                if again.returncode:
                    self.unsteady.add(name)
        for name in sorted(self.unsteady):
            print(f"mutate: left out, fails with no fault planted: {name}")

    def limit(self, programs):
        return 3 * sum(self.seconds.get(p, 60) for p in programs) + 60

    def nearest(self, mutant, hint):
        """The programs most likely to catch a mutant: the one that caught it before, else
        the tests of its own folder."""
        if hint:
            return [p for p in self.tests if os.path.basename(p) == hint.split(" ")[0]]

        def shared(program):
            tested = os.path.relpath(os.path.dirname(program), os.path.join(self.build, "tests"))
            count = 0
            for a, b in zip(tested.split("/"), os.path.dirname(mutant.path).split("/")):
                if a != b:
                    break
                count += 1
            return count

        best = max(shared(p) for p in self.tests)
        return [p for p in self.tests if best and shared(p) == best]

    def judge(self, mutant, hint):
        """caught / missed / no-build, and what caught it. The nearest programs are built and
        run first, alone; only when they pass is the whole tree built and every other program
        that links the changed code run (and those that start the player, when it changed)."""
        player = os.path.join(self.build, "quillet-jukebox")
        before = self.stamps()
        first = self.nearest(mutant, hint)
        if first:
            if not build_targets(self.build, [os.path.basename(p) for p in first]):
                return "no-build", ""
            first = [p for p in first if self.stamps()[p] != before[p]]
            # The test that caught this mutant last time, alone: most mutants end here.
            catcher = hint.split(" ")[-1] if hint else None
            if catcher and any(catcher in self.tests[p] for p in first):
                failed = self.run(first, self.limit(first), only=catcher)
                if failed:
                    return "caught", self.told(failed, first)
            failed = self.run(first, self.limit(first))
            if failed:
                return "caught", self.told(failed, first)
        if not build_targets(self.build):
            return "no-build", ""
        after = self.stamps()
        rest = [p for p in self.tests if after[p] != before[p] and p not in first]
        if after[player] != before[player]:
            rest += [p for p in self.tests if os.path.basename(p) in self.players
                     and p not in rest and p not in first]
        failed = self.run(rest, self.limit(rest))
        return ("caught", self.told(failed, rest)) if failed else ("missed", "")

    def told(self, failed, programs):
        """'program test' for the result file (the program is the next run's first try)."""
        program = next((p for p in programs if failed in self.tests[p]), programs[0])
        return f"{os.path.basename(program)} {failed}"


def build_targets(tree, targets=()):
    command = ["cmake", "--build", tree, "-j", str(os.cpu_count() or 2)]
    if targets:
        command += ["--target", *targets]
    return subprocess.run(command, capture_output=True, text=True).returncode == 0


def run_all(root, build, mutants, result_path, hints):
    planted, outcomes = Planted(root, build), []
    if not build_targets(build):
        sys.exit("mutate: the unmutated tree does not build")
    programs = TestPrograms(root, build)
    print(f"mutate: {len(programs.tests)} test programs; all tests once, unmutated ...",
          flush=True)
    start = time.monotonic()
    programs.measure()
    print(f"mutate: the tests took {time.monotonic() - start:.0f} s unmutated", flush=True)
    caught = missed = void = 0
    for number, mutant in enumerate(mutants, 1):
        start = time.monotonic()
        with planted(mutant) as applied:
            if applied:
                status, by = programs.judge(mutant, hints.get(mutant.key()))
            else:
                status, by = "stale", ""
        if status == "caught":
            caught += 1
        elif status == "missed":
            missed += 1
        else:
            void += 1
        seconds = time.monotonic() - start
        print(f"[{number:3}/{len(mutants)}] {status:8} {mutant.shown()}  {by}  {seconds:.0f} s",
              flush=True)
        outcomes.append((mutant, status, by))
    # The tree is back as it was: build it so that the next run starts from it.
    build_targets(build)
    closing = f"{caught} caught, {missed} missed"
    if void:
        closing += f" ({void} not run: stale or not building)"
    print(closing)
    if result_path:
        with open(result_path + ".new", "w") as f:
            f.write(f"# scripts/mutate on {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}: "
                    f"{closing}\n")
            for mutant, status, by in outcomes:
                f.write(f"{status}\t{mutant.key()}\t{by}\n")
        os.replace(result_path + ".new", result_path)
    return caught, missed


def main():
    parser = argparse.ArgumentParser(prog="scripts/mutate", description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", required=True, help=argparse.SUPPRESS)
    parser.add_argument("--build", required=True, help=argparse.SUPPRESS)
    parser.add_argument("--seed", default="14", help="picks the mutants (default 14)")
    parser.add_argument("--count", type=int, default=10,
                        help="mutants per PATH given without =N (default 10)")
    parser.add_argument("--generate", action="store_true",
                        help="print the picked mutants in the list's form, run nothing")
    parser.add_argument("--list", help="run the mutants of this list (default: the committed "
                        "tests/mutants.list when no PATH is given)")
    parser.add_argument("--only", nargs="+", default=[], metavar="PATH",
                        help="of the list, only the mutants in these files or folders")
    parser.add_argument("--caught-in", metavar="RESULT",
                        help="of the list, only the mutants this result file has as caught")
    parser.add_argument("--caught-by", metavar="REGEX",
                        help="with --caught-in, only the mutants whose catcher ('program test') "
                        "matches")
    parser.add_argument("--result", metavar="FILE",
                        help="write the outcomes to FILE (the committed list's full run writes "
                        "tests/mutants.result)")
    parser.add_argument("--part", metavar="K/N",
                        help="of the list, only every N-th mutant from the K-th (to share a "
                        "run between machines or trees)")
    parser.add_argument("paths", nargs="*", metavar="PATH[=N]")
    args = parser.parse_args()
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, interrupted)
    root, build = args.root, args.build
    committed = os.path.join(root, "tests", "mutants.list")
    result_path = None
    if args.paths:
        wanted = []
        for path in args.paths:
            name, _, count = path.partition("=")
            wanted.append((name.rstrip("/"), int(count) if count else args.count))
        mutants = pick(root, build, wanted, args.seed)
        if args.generate:
            print(f"# scripts/mutate --generate --seed {args.seed} "
                  + " ".join(f"{p}={n}" for p, n in wanted))
            for mutant in mutants:
                print(mutant.key())
            return 0
    else:
        mutants = read_list(args.list or committed)
        if not args.list and not args.only and not args.caught_in:
            result_path = os.path.join(root, "tests", "mutants.result")
    if args.only:
        mutants = [m for m in mutants
                   if any(m.path == p.rstrip("/") or m.path.startswith(p.rstrip("/") + "/")
                          for p in args.only)]
    hints = {}
    if args.caught_in:
        with open(args.caught_in) as f:
            for line in f:
                fields = line.rstrip("\n").split("\t")
                if fields[0] == "caught" and re.search(args.caught_by or "", fields[5]):
                    hints["\t".join(fields[1:5])] = fields[5]
        mutants = [m for m in mutants if m.key() in hints]
    if args.part:
        k, n = (int(x) for x in args.part.split("/"))
        mutants = mutants[k - 1::n]
        result_path = result_path and f"{result_path}.{k}of{n}"
    result_path = args.result or result_path
    try:
        run_all(root, build, mutants, result_path, hints)
    except KeyboardInterrupt:
        print("mutate: interrupted; the file of the last mutant is back as it was")
        return 130
    return 0


if __name__ == "__main__":
    sys.exit(main())
