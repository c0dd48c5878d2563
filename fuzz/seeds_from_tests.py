#!/usr/bin/python3
"""Seed inputs for the fuzz targets taken from the texts the tests use.

Reads the string literals of tests/**/*.cpp and *.h (adjacent literals joined,
raw literals included, escapes decoded) and the data files under tests/ and
data/, sorts each text by what it is (its XML root element, the store's and
the registry's text forms, JSON) and writes it into fuzz/corpus/<target>/
with the selector bytes that target reads first. File names are "t-" and
the first 16 hex digits of the seed's SHA-256, so running the script again
writes the same files and a text used by several tests gives one seed.

The binary records the tests build in code (the month's and the trace's
records, the sick-leave protocol's two older layouts, the vacation
protocol's older records) are not texts; for them the script writes one
record of each length the readers tell apart, all zero and with a byte
pattern ("r-" files), because a mutation rarely hits such an exact length.

    /usr/bin/python3 fuzz/seeds_from_tests.py [--max-size N] [--dry-run]

Prints how many seeds each target got. Seeds already in a corpus folder that
start with neither "t-" nor "r-" (hand-written ones and those kept from runs)
are left alone; old "t-" and "r-" seeds are removed first, so the folder
holds exactly what the tests give now.
"""
import argparse
import hashlib
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"

# fuzz_xmlforms: byte 0 the class (index into its kClasses), byte 1 what is
# put (0 FullString, 1 ShortString), byte 2 how the rest is read (2: UTF-8).
# The trace (1) and the month list (6) have no text form.
XMLFORMS_CLASS = {
    "ORVMONTH": [(0, 0), (0, 1)],
    "DOCLIST": [(2, 0)],
    "ORVDOCLIST": [(2, 0)],
    "ORVINSTLIST": [(3, 0)],
    "BLPROTOCOL": [(4, 0)],
    "PREMPROT": [(4, 0)],
    "DRPREMPROT": [(4, 0)],
    "ORVBANK": [(5, 0)],
    "ORVDOCUMENT": [(7, 0)],
    "REFITEM": [(8, 0)],
    "ORVACCLIST": [(9, 0)],
    "ORVADDRLIST": [(10, 0)],
    "SMS": [(11, 0)],
}

# fuzz_bodies: byte 0 the kind (index into its kTypes, then kVacationTypes),
# byte 1 bit 0 lDcdpod, bit 1 Dfl 0x04, bit 2 a list text for AddSumsXml or
# PutSumsXml, bit 3 a host text for the kind's text properties; the rest the
# body as UTF-16LE (how the kinds keep an XML body), or the list or host text
# as UTF-8. Host texts are hand-written seeds ("host-text-*"). The index list must follow fuzz_bodies.cpp.
BODY_TYPES = [1, 7, 8, 10, 14, 15, 17, 21, 22, 30, 40, 51, 68, 69, 91, 92, 93, 136, 137, 138, 250, 260,
              301, 304, 332, 333, 334, 335, 336, 338, 346, 349, 356, 361, 362, 369, 396, 407, 408]
VACATION_TYPES = [93, 349]


def kind_index(type_code, vacation=False):
    if vacation:
        return len(BODY_TYPES) + VACATION_TYPES.index(type_code)
    return BODY_TYPES.index(type_code)


# Root element of an XML body -> (kind index, mode byte).
BODY_ROOT = {
    "EXT": [(kind_index(21), 1)],
    "BLPR5": [(kind_index(21), 1)],
    "OTDOCEX": [(kind_index(22), 3)],
    "UVDOCEX": [(kind_index(93, True), 1)],
    "VVDOCEX": [(kind_index(349, True), 1)],
    "TDDOCEX": [(kind_index(304), 1)],
    "ORDOCEX": [(kind_index(30), 1)],
    "MVDOC": [(kind_index(8), 1)],
    "ILDOCEX": [(kind_index(15), 1)],
    "LPDOCEX": [(kind_index(40), 1)],
    "PS": [(kind_index(69), 1)],
    "VODOCEX": [(kind_index(92), 1)],
    "SRDOCEX": [(kind_index(136), 1)],
    "S1SUMS": [(kind_index(137), 1)],
    "S2SUMS": [(kind_index(138), 1)],
    "TVEXT": [(kind_index(250), 1)],
    "ORIG": [(kind_index(301), 1)],
    "ZZDOCEX": [(kind_index(332), 1)],
    "S3SUMS": [(kind_index(333), 1)],
    "XLDOCEX": [(kind_index(334), 1)],
    "ERSUMS": [(kind_index(335), 1)],
    "TCDOCEX": [(kind_index(336), 1)],
    "RISUMS": [(kind_index(346), 1)],
    "MGGRAFICS": [(kind_index(356), 1)],
    "MIDOCEX": [(kind_index(361), 1)],
    "IJDOCEX": [(kind_index(362), 1)],
    "Years": [(kind_index(369), 1)],
    "JBDOCEX": [(kind_index(396), 1)],
    "MDDOCEX": [(kind_index(407), 1)],
    "MYDOCEX": [(kind_index(408), 1)],
}

SIMPLE_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "0": "\0", "\\": "\\", '"': '"', "'": "'", "?": "?",
                  "a": "\a", "b": "\b", "f": "\f", "v": "\v"}

LITERAL = re.compile(r'(?:u8|u|U|L)?(R?)"')


def decode_escapes(body):
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        e = body[i + 1] if i + 1 < len(body) else ""
        if e == "x":
            m = re.match(r"[0-9a-fA-F]+", body[i + 2:])
            if not m:
                return None
            out.append(chr(int(m.group(0), 16) & 0xFFFF))
            i += 2 + len(m.group(0))
        elif e in "uU":
            n = 4 if e == "u" else 8
            digits = body[i + 2:i + 2 + n]
            if len(digits) != n:
                return None
            out.append(chr(int(digits, 16)))
            i += 2 + n
        elif e in "01234567":
            m = re.match(r"[0-7]{1,3}", body[i + 1:])
            out.append(chr(int(m.group(0), 8)))
            i += 1 + len(m.group(0))
        elif e in SIMPLE_ESCAPES:
            out.append(SIMPLE_ESCAPES[e])
            i += 2
        else:
            return None
    return "".join(out)


def literals(source):
    """The string literals of a C++ source, adjacent ones joined."""
    texts = []
    current = None
    i = 0
    n = len(source)
    while i < n:
        c = source[i]
        if source.startswith("//", i):
            j = source.find("\n", i)
            i = n if j < 0 else j
            continue
        if source.startswith("/*", i):
            j = source.find("*/", i + 2)
            i = n if j < 0 else j + 2
            continue
        if c.isspace():
            i += 1
            continue
        if c == "'":  # a character literal
            j = i + 1
            while j < n and source[j] != "'":
                j += 2 if source[j] == "\\" else 1
            i = j + 1
            if current is not None:
                texts.append(current)
                current = None
            continue
        m = LITERAL.match(source, i)
        if m and (i == 0 or not (source[i - 1].isalnum() or source[i - 1] == "_")):
            if m.group(1):  # raw: R"delim( ... )delim"
                open_paren = source.find("(", m.end())
                delim = source[m.end():open_paren]
                close = source.find(")" + delim + '"', open_paren)
                if open_paren < 0 or close < 0:
                    break
                piece = source[open_paren + 1:close]
                i = close + len(delim) + 2
            else:
                j = m.end()
                while j < n and source[j] != '"':
                    j += 2 if source[j] == "\\" else 1
                piece = decode_escapes(source[m.end():j])
                i = j + 1
            if piece is None:
                current = None
                continue
            current = piece if current is None else current + piece
            continue
        if current is not None:
            texts.append(current)
            current = None
        i += 1
    if current is not None:
        texts.append(current)
    return texts


ROOT_ELEMENT = re.compile(r"^\s*(?:<\?xml[^>]*\?>\s*)?(?:<!--.*?-->\s*)*<([A-Za-z_][\w.-]*)", re.S)


def root_of(text):
    m = ROOT_ELEMENT.match(text)
    return m.group(1) if m else None


def looks_like_xml(text):
    return root_of(text) is not None and text.rstrip().endswith(">")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--max-size", type=int, default=16384, help="largest text taken (bytes of UTF-8)")
    parser.add_argument("--dry-run", action="store_true")
    args = parser.parse_args()

    texts = []  # (text, where)
    for path in sorted((ROOT / "tests").rglob("*")):
        if path.suffix in (".cpp", ".h"):
            for t in literals(path.read_text(encoding="utf-8", errors="replace")):
                texts.append((t, path))
        elif path.suffix in (".xml", ".json", ".txt", ".reg") and path.is_file():
            texts.append((path.read_text(encoding="utf-8", errors="replace"), path))
    for path in sorted((ROOT / "data").rglob("*")):
        if path.is_file() and path.suffix in (".xml", ".json", ".reg"):
            texts.append((path.read_text(encoding="utf-8", errors="replace"), path))

    seeds = {}  # target -> {name: bytes}

    def add(target, data, prefix="t-"):
        name = prefix + hashlib.sha256(data).hexdigest()[:16]
        seeds.setdefault(target, {})[name] = data

    def records(size):
        return [bytes(size), bytes((i * 7 + 1) & 0xFF for i in range(size))]

    # Binary records by length: the month's record (144 bytes) and the
    # trace's (84), put as fuzz_xmlforms' binary record (byte 1: 2).
    for cls, size in ((0, 144), (1, 84)):
        for r in records(size):
            add("xmlforms", bytes([cls, 2, 0]) + r, "r-")
    # The sick-leave protocol's older layouts: short below 686 bytes (586 at
    # least), long from 686; older byte body (lDcdpod 0).
    for size in (586, 685, 686, 700):
        for r in records(size):
            add("bodies", bytes([kind_index(21), 0]) + r, "r-")
    # The vacation protocol's older records (type 22 without the XML mark).
    for size in (184, 344, 632, 1264, 2528):
        for r in records(size):
            add("bodies", bytes([kind_index(22), 0]) + r, "r-")

    for text, _ in texts:
        raw = text.encode("utf-8", errors="surrogatepass")
        if not text.strip() or len(raw) > args.max_size:
            continue
        stripped = text.lstrip()
        if stripped.startswith("ORVDOCS-REGISTRY"):
            add("registry", raw)
            continue
        if re.match(r'\{\s*("|\})', stripped) and stripped.rstrip().endswith("}"):
            add("json", raw)
            continue
        if not looks_like_xml(text):
            continue
        root = root_of(text)
        # Every XML text the tests use loads in the DOM (byte 0: UTF-8, no
        # white space preserved; byte 1: no XPath of its own).
        add("dom", bytes([2, 0]) + raw)
        if root == "ORVSTORE":
            add("store", bytes([2]) + raw)
        for cls, what in XMLFORMS_CLASS.get(root, []):
            add("xmlforms", bytes([cls, what, 2]) + raw)
        if root == "ORVDOCUMENT":
            add("values", bytes([4, 2]) + raw)  # the document's FullString family
        utf16 = text.encode("utf-16-le", errors="surrogatepass")
        for kind, mode in BODY_ROOT.get(root, []):
            add("bodies", bytes([kind, mode]) + utf16)
        if root in ("S1SUMS", "S3SUMS", "ORIG"):
            # The same list as the text a host merges (AddSumsXml,
            # PutSumsXml): byte 1 bit 2, the text as UTF-8.
            for kind, _ in BODY_ROOT[root]:
                add("bodies", bytes([kind, 5]) + raw)

    total = 0
    for target in sorted(seeds):
        folder = CORPUS / target
        if not args.dry_run:
            folder.mkdir(parents=True, exist_ok=True)
            for old in list(folder.glob("t-*")) + list(folder.glob("r-*")):
                old.unlink()
            for name, data in seeds[target].items():
                (folder / name).write_bytes(data)
        total += len(seeds[target])
        from_tests = sum(1 for name in seeds[target] if name.startswith("t-"))
        layouts = len(seeds[target]) - from_tests
        print(f"{target}: {from_tests} seeds from the tests" + (f", {layouts} record layouts" if layouts else ""))
    print(f"{len(texts)} texts read, {total} seeds written" + (" (dry run)" if args.dry_run else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
