#!/usr/bin/python3
"""Compares the text our spreadsheet shows for number format code/value pairs with Gnumeric's.

Runs PAIRS_PROGRAM (number_format_pairs), which saves a workbook of one value per row, each
shown through one code, and lists what our spreadsheet shows; converts the workbook to CSV with
Gnumeric keeping the formats (`ssconvert -O format=preserve`), and compares row by row.

Usage: crosscheck_number_formats.py PAIRS_PROGRAM WORKDIR
Exit status: 0 when every pair agrees or disagrees for a reason listed in EXPLAINED, 1 otherwise
(each unexplained pair is printed), 2 on a tool failure, 77 when Gnumeric is not installed.
"""

import csv
import os
import re
import shutil
import subprocess
import sys

SKIPPED = 77


def bare(code):
    """The code without its quoted texts, escaped characters and bracketed parts."""
    return re.sub(r'"[^"]*"|\\.|\[[^]]*\]', "", code)


def is_date(code):
    return re.search(r"[dmyhs]", bare(code).split(";")[0], re.IGNORECASE) is not None


def is_fraction(code):
    return re.search(r"[0#?]\s*/\s*[0-9#?]", bare(code)) is not None


def fraction_value(text):
    """The number a fraction such as "-3 14/99" or "22/7" shows, or None."""
    match = re.fullmatch(r"(-)?\s*(?:(\d+)\s+)?(\d+)\s*/\s*(\d+)\s*|(-)?\s*(\d+)\s*", text)
    if not match:
        return None
    if match.group(6) is not None:
        return -float(match.group(6)) if match.group(5) else float(match.group(6))
    whole = float(match.group(2) or 0)
    number = whole + float(match.group(3)) / float(match.group(4))
    return -number if match.group(1) else number


def nearer_fraction(value, ours, theirs):
    mine, other = fraction_value(ours), fraction_value(theirs)
    return mine is not None and other is not None and abs(mine - value) < abs(other - value)


def explained(code, value, ours, theirs):
    """The reason the two spreadsheets may show this pair differently, or None.

    Each reason is a known difference of design between the spreadsheet our files are made for
    (whose behaviour we follow) and Gnumeric."""
    if is_fraction(code) and re.sub(r"\s", "", ours) == re.sub(r"\s", "", theirs):
        return "fractions: Gnumeric lays out the room of '?' placeholders with its own spaces"
    if is_date(code):
        if value < 0 or value >= 2958466:
            return "dates: no calendar day before serial 0 or after 31/12/9999 shows as ########"
        if value < 61:
            return ("dates: the 1900 leap day; serials before 1 March 1900 count the fictitious 29 February "
                    "1900 and serial 0 is 0 January 1900, one day apart from Gnumeric's calendar")
    if is_fraction(code) and nearer_fraction(value, ours, theirs):
        return ("fractions: ours is the fraction nearest the value within the denominator's digits (0.1 with "
                "?/? is 1/9, pi with ??/?? is 3 14/99); Gnumeric settles on a farther one")
    if "\\de" in code and ours.replace(" de ", " d" + ours[-4:] + " ") == theirs:
        return ("dates: the component's Spanish long date writes 'de' as \\d and e; Gnumeric reads the lone 'e' "
                "as the year (\"15 d2023 marzo\"), we keep the letter, as the date's author meant")
    general = code in ("General", "@")
    if general and len(ours.lstrip("-")) <= 11 and abs(float(ours) - float(theirs)) <= 1e-9 * max(1.0, abs(value)):
        return ("General: the number as it fits 11 characters, the width of a standard column (1E+10 shows as "
                "10000000000, pi as 3.141592654); Gnumeric writes its own shortest or longest form")
    if re.fullmatch(r"-0(\.0*)?(M)?", ours) and ours[1:] == theirs:
        return "signs: a negative that rounds to zero keeps its minus sign (-0); Gnumeric drops it"
    if bare(code) == "#" and ours == "" and theirs == "0":
        return "digits: '#' alone shows nothing for a value that rounds to zero; Gnumeric shows 0"
    if value in (2.675, 1.005):
        return ("rounding: a half at the last shown digit rounds on the value's 15-digit decimal form (2.675 "
                "shows 2.68), where Gnumeric rounds the binary value just below it")
    return None


def main(program, workdir):
    ssconvert = shutil.which("ssconvert")
    if not ssconvert:
        print("Gnumeric's ssconvert is not installed (Debian: gnumeric); skipping the cross-check")
        return SKIPPED
    os.makedirs(workdir, exist_ok=True)
    book = os.path.join(workdir, "pairs.xlsx")
    listing = os.path.join(workdir, "pairs.tsv")
    shown = os.path.join(workdir, "gnumeric.csv")
    subprocess.run([program, book, listing], check=True)
    env = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8")
    run = subprocess.run([ssconvert, "-T", "Gnumeric_stf:stf_assistant", "-O", "format=preserve", book, shown], capture_output=True, text=True,
                         env=env, timeout=240)
    if run.returncode != 0 or not os.path.exists(shown):
        print("ssconvert failed:", run.stderr)
        return 2
    with open(shown, newline="", encoding="utf-8") as f:
        theirs = [row[0] if row else "" for row in csv.reader(f)]
    pairs = []
    with open(listing, encoding="utf-8") as f:
        for line in f:
            row, code, value, ours = line.rstrip("\n").split("\t", 3)
            pairs.append((int(row), code, float(value), ours))

    reasons = {}
    unexplained = []
    for row, code, value, ours in pairs:
        # Gnumeric writes its minus as U+2212 MINUS SIGN, the spreadsheet file's readers as "-".
        gnumeric = (theirs[row - 1] if row - 1 < len(theirs) else "").replace("\u2212", "-")
        if ours == gnumeric:
            continue
        reason = explained(code, value, ours, gnumeric)
        if reason:
            reasons[reason] = reasons.get(reason, 0) + 1
        else:
            unexplained.append((row, code, value, ours, gnumeric))
    agree = len(pairs) - sum(reasons.values()) - len(unexplained)
    print(f"{len(pairs)} pairs: {agree} shown alike, {sum(reasons.values())} explained, {len(unexplained)} unexplained")
    for reason, count in sorted(reasons.items(), key=lambda item: -item[1]):
        print(f"  {count:5} {reason}")
    for row, code, value, ours, gnumeric in unexplained:
        print(f"  row {row}: {code!r} with {value!r}: ours {ours!r}, Gnumeric {gnumeric!r}")
    return 1 if unexplained else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1], sys.argv[2]))
