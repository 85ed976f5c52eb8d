#!/usr/bin/env python3
"""Writes the manual pages velmora(1) and velmora-cli(1), gzipped as Debian
installs them, from the command text of README.md, so that the commands are
described in one place:

  velmora(1)      the opening paragraphs of the README and its section
                  "Install on Debian/Ubuntu" after the commands
  velmora-cli(1)  the section "Command line: velmora-cli"

    make_manpages.py README.md OUT_DIR VERSION
"""

import gzip
import os
import re
import sys

DATE = "December 2026"


def sections(text):
    """{heading: body} for every '#' and '##' heading of the README."""
    parts, heading, body = {}, None, []
    for line in text.splitlines():
        m = re.match(r"^#{1,2} (.*)", line)
        if m and not body_in_code(body):
            if heading is not None:
                parts[heading] = "\n".join(body).strip("\n")
            heading, body = m.group(1).strip(), []
        else:
            body.append(line)
    parts[heading] = "\n".join(body).strip("\n")
    return parts


def body_in_code(lines):
    return sum(1 for line in lines if line.startswith("```")) % 2 == 1


def blocks(body):
    """Paragraphs, bullet items and code blocks of a Markdown body, in order."""
    out, para, in_code, code = [], [], False, []
    lines = body.splitlines()

    def flush():
        if para:
            out.append(("bullet" if para[0].startswith("- ") else "para",
                        " ".join(p.strip() for p in para).removeprefix("- ")))
            para.clear()

    for line in lines:
        if line.startswith("```"):
            if in_code:
                out.append(("code", code[:]))
                code.clear()
            else:
                flush()
            in_code = not in_code
        elif in_code:
            code.append(line)
        elif not line.strip():
            flush()
        elif line.startswith("- "):
            flush()
            para.append(line)
        else:
            para.append(line)
    flush()
    return out


def escape(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text[:1] in (".", "'") else text


def inline(text):
    """Markdown text to roff: `code` in bold, link targets dropped."""
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    pieces = re.split(r"(`[^`]*`)", text)
    out = ""
    for piece in pieces:
        if piece.startswith("`") and piece.endswith("`") and len(piece) > 1:
            out += "\\fB" + escape(piece[1:-1]).removeprefix("\\&") + "\\fR"
        else:
            out += escape(piece).removeprefix("\\&")
    return "\\&" + out if out[:1] in (".", "'") else out


def code(lines):
    return [".PP", ".RS 4", ".nf"] + [escape(line) for line in lines] + [".fi", ".RE"]


def prose(items):
    out = []
    for kind, value in items:
        if kind == "para":
            out += [".PP", inline(value)]
        elif kind == "bullet":
            out += [".IP \\(bu 2", inline(value)]
        else:
            out += code(value)
    return out


def header(name, version, summary):
    title = escape(name.upper())
    return [f'.TH {title} 1 "{DATE}" "Velmora {version}" "User Commands"',
            ".SH NAME", f"{escape(name)} \\- {summary}"]


def without_build_paths(text):
    # The README speaks to someone in a source tree; the manual to a user.
    return re.sub(r"\s*\([^()]*build/[^()]*\)", "", text)


def command_lines(lines):
    """The README's command synopsis: '.TP' per command with its comment."""
    out = []
    for line in lines:
        synopsis, _, comment = line.partition("#")
        words = synopsis.split()
        if not words:
            continue
        out += [".TP", f"\\fB{escape(' '.join(words[:2]))}\\fR {escape(' '.join(words[2:]))}"]
        if comment.strip():
            out.append(escape(comment.strip()[0].upper() + comment.strip()[1:]) + ".")
    return out


def velmora_cli(parts, version):
    items = blocks(parts["Command line: velmora-cli"])
    intro = [(k, without_build_paths(v)) if k == "para" else
             (k, [re.sub(r"build/[a-z]+/", "", line) for line in v]) if k == "code" else (k, v)
             for k, v in items]
    first_code = next(i for i, (k, _) in enumerate(intro) if k == "code")
    synopsis = intro[first_code][1]
    page = header("velmora-cli", version, "read and write satellite receiver channel databases")
    page += [".SH SYNOPSIS", ".B velmora\\-cli", "\\fICOMMAND\\fR [\\fIOPTION\\fR]... \\fIFILE\\fR...",
             ".br", ".B velmora\\-cli", "\\-\\-help | \\-\\-version"]
    page += [".SH DESCRIPTION"] + prose(intro[:first_code])
    page += [".SH COMMANDS"] + command_lines(synopsis)
    rest = intro[first_code + 1:]
    notes = [item for item in rest if item[0] == "bullet"]
    after = [item for item in rest if item[0] != "bullet"]
    page += [".SH OPTIONS AND NOTES"] + prose(notes)
    if after:
        page += [".SH EXAMPLE"] + prose(after)
    page += [".SH EXIT STATUS",
             "0 on success, 1 when an operation is refused or fails, 2 for wrong usage.",
             ".SH SEE ALSO", ".BR velmora (1)"]
    return page


def velmora(parts, version):
    intro = blocks(parts["Velmora"])
    install = blocks(parts["Install on Debian/Ubuntu"])
    last_code = max(i for i, (k, _) in enumerate(install) if k == "code")
    page = header("velmora", version, "edit the channel database of a satellite receiver")
    page += [".SH SYNOPSIS", ".B velmora", "[\\fIFILE\\fR]"]
    page += [".SH DESCRIPTION"] + prose(intro) + prose(install[last_code + 1:])
    page += [".SH FILES", ".TP", ".I /usr/share/velmora/Velmora.html", "The user guide.",
             ".TP", ".I /usr/share/velmora/favor/satlist1.sdx",
             "The favourite list consulted when a database is saved.",
             ".SH SEE ALSO", ".BR velmora\\-cli (1)"]
    return page


def write(path, lines):
    with open(path, "wb") as raw:
        with gzip.GzipFile(filename="", mode="wb", compresslevel=9, fileobj=raw, mtime=0) as f:
            f.write(("\n".join(lines) + "\n").encode("utf-8"))


def main():
    readme, out, version = sys.argv[1:4]
    parts = sections(open(readme, encoding="utf-8").read())
    for needed in ("Velmora", "Install on Debian/Ubuntu", "Command line: velmora-cli"):
        if needed not in parts:
            sys.exit(f"make_manpages.py: {readme} has no section '{needed}', "
                     "which a manual page is written from")
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, "velmora.1.gz"), velmora(parts, version))
    write(os.path.join(out, "velmora-cli.1.gz"), velmora_cli(parts, version))


if __name__ == "__main__":
    main()
