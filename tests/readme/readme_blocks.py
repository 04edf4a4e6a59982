#!/usr/bin/env python3
"""Turns the C++ blocks of the README's tour into a GoogleTest source.

    readme_blocks.py README.md OUT.cpp

Every indented block of the "A tour of the framework" section becomes one
test whose body is the block as written (#line points compile errors at the
README). A trailing comment on a line that declares or fills a variable is a
claim and becomes a check right after that line:

    int dot = name.find(".");      // 6            -> dot == 6
    TStr s = ...;                  // 'a, b'       -> s == "a, b"
    int n = ...;                   // 12 (0 when rejected)
    int live = ...;                // == before    -> live == before
    ezuRunCommand("echo", out);    // out 'hello\\n' -> out == "hello\\n"

Quoted texts are C string contents. A comment that starts like a claim (a
digit, a quote, "==") but matches no form stops the generator, so a claim
can never go unchecked by accident.
"""

import re
import sys

SECTION = "## A tour of the framework"
DECLARED = re.compile(r"^\s*[A-Za-z_][\w:<>,]*[\s*&]+(\w+)\s*(=|\()")
CLAIMS = [
    (re.compile(r"^(-?\d+)(\s+\(.*\))?$"), lambda var, m: (var, m.group(1))),
    (re.compile(r"^'(.*)'(\s+\(.*\))?$"), lambda var, m: (var, '"%s"' % m.group(1))),
    (re.compile(r"^== (.+)$"), lambda var, m: (var, m.group(1))),
    (re.compile(r"^(\w+) '(.*)'$"), lambda var, m: (m.group(1), '"%s"' % m.group(2))),
]
LOOKS_LIKE_CLAIM = re.compile(r"^(-?\d|'|==|\w+ ')")


def tour_blocks(lines):
    """Yields (first line number, [lines]) of each indented block."""
    inside, block, start = False, [], 0
    for number, line in enumerate(lines, 1):
        if line.startswith("## "):
            inside = line.strip() == SECTION
        if inside and line.startswith("    ") and line.strip():
            if not block:
                start = number
            block.append(line[4:].rstrip("\n"))
        elif block and (not inside or line.strip()):
            yield start, block
            block = []
    if block:
        yield start, block


def claim_of(code, comment, where):
    for pattern, make in CLAIMS:
        m = pattern.match(comment)
        if m:
            declared = DECLARED.match(code)
            if not declared and pattern is not CLAIMS[3][0]:
                sys.exit("%s: a claim on a line that declares nothing: %s" % (where, comment))
            return make(declared.group(1) if declared else None, m)
    if LOOKS_LIKE_CLAIM.match(comment):
        sys.exit("%s: a comment that reads like a claim but has no checked form: %s"
                 % (where, comment))
    return None


def main(readme, out):
    with open(readme, encoding="utf-8") as f:
        lines = f.readlines()
    tests = []
    for index, (start, block) in enumerate(tour_blocks(lines), 1):
        body = []
        for offset, line in enumerate(block):
            number = start + offset
            code, _, comment = line.partition("//")
            body.append('#line %d "README.md"' % number)
            body.append("    " + line)
            claim = claim_of(code, comment.strip(), "README.md:%d" % number) if comment else None
            if claim:
                body.append('    EXPECT_EQ(%s, %s) << "README.md:%d";' % (claim[0], claim[1], number))
        tests.append("TEST_F(ReadmeTour, Block%d) {\n    twice([] {\n%s\n    });\n    ezuQuiet = false;\n}\n"
                     % (index, "\n".join(body)))
    if not tests:
        sys.exit("%s: no blocks in the section '%s'" % (readme, SECTION))
    with open(out, "w", encoding="utf-8") as f:
        f.write("// Generated from the README by readme_blocks.py; do not edit.\n")
        f.write("#include \"ezu/ezu.h\"\n#include \"store_fixture.h\"\n\n#include <stdio.h>\n\n")
        # The settings store keeps every key for the life of the process, so
        # each block runs twice and the leak check covers the second run.
        f.write("EZU_STORE_TEST_SUITE(ReadmeTour);\n\n")
        f.write("// Lets failure messages show the text of a TStr.\n")
        f.write("inline void PrintTo(const TStr& s, std::ostream* os) {\n"
                "    *os << '\\'' << (s.buffer()->data ? s.buffer()->data : \"<null>\") << '\\'';\n}\n\n")
        f.write("\n".join(tests))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: readme_blocks.py README.md OUT.cpp")
    main(sys.argv[1], sys.argv[2])
