#!/usr/bin/env python3
"""Fails when a resource script gives one string identifier two different texts.

windres keeps one of them without a word, so a dialog would show another dialog's text. The
script runs the C preprocessor over the main resource script the way windres does (so that the
identifiers' names become numbers), reads every STRINGTABLE entry and reports each identifier
defined with more than one text, with the places of its definitions.

    check_string_ids.py C_COMPILER SCRIPT.rc [-I DIR ...] [--stamp FILE]

Exit code 0 when every identifier has one text (the stamp file, if named, is then written),
1 when some identifier has two, 2 when the script cannot be read.
"""
import argparse
import re
import subprocess
import sys

TOKEN = re.compile(r'''
    (?P<marker>^\#\s*(?:line\s+)?(?P<line>\d+)\s+"(?P<file>[^"]*)"[^\n]*$)
  | (?P<string>L?"(?:[^"\\\n]|\\.|"")*")
  | (?P<newline>\n)
  | (?P<word>[A-Za-z_][A-Za-z_0-9]*)
  | (?P<number>0[xX][0-9A-Fa-f]+[uUlL]*|\d+[uUlL]*)
  | (?P<punct>[-+*/|&~^(),{}<>!%])
  | (?P<space>[ \t\r\f\v]+)
  | (?P<other>.)
''', re.VERBOSE | re.MULTILINE)

BLOCK_OPEN = {'BEGIN', '{'}
BLOCK_CLOSE = {'END', '}'}


def tokens(text):
    """(kind, value, file, line) of every meaningful token, following the line markers."""
    file, line = '<input>', 1
    for m in TOKEN.finditer(text):
        kind = m.lastgroup
        if kind == 'marker':
            file, line = m.group('file'), int(m.group('line')) - 1
        elif kind == 'newline':
            line += 1
        elif kind != 'space':
            value = m.group(kind)
            if kind == 'punct' and value in '{}':
                kind = 'word'
            yield kind, value, file, line


def string_value(literal):
    body = literal[1:] if literal.startswith('L') else literal
    return body[1:-1].replace('""', '"')


def evaluate(parts):
    expression = ' '.join(re.sub(r'[uUlL]+$', '', p) if p[0].isdigit() else p for p in parts)
    expression = expression.replace('!', ' not ').replace('/', '//')
    return int(eval(expression, {'__builtins__': {}}, {})) & 0xFFFF


def string_entries(stream):
    """(identifier, text, file, line) of every STRINGTABLE entry."""
    stream = list(stream)
    i = 0
    while i < len(stream):
        kind, value, _, _ = stream[i]
        i += 1
        if kind != 'word' or value != 'STRINGTABLE':
            continue
        while i < len(stream) and stream[i][1] not in BLOCK_OPEN:  # options and memory flags
            i += 1
        i += 1
        expression, where, text = [], None, None
        while i < len(stream) and stream[i][1] not in BLOCK_CLOSE:
            kind, value, file, line = stream[i]
            i += 1
            if kind == 'string':
                text = (text or '') + string_value(value)
                if i < len(stream) and stream[i][0] == 'string':
                    continue
                yield evaluate(expression), text, where[0], where[1]
                expression, where, text = [], None, None
            elif value == ',' and expression:
                continue
            else:
                if where is None:
                    where = (file, line)
                expression.append(value)
        i += 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('compiler')
    parser.add_argument('script')
    parser.add_argument('-I', dest='includes', action='append', default=[])
    parser.add_argument('--stamp')
    args = parser.parse_args()

    command = [args.compiler, '-E', '-xc', '-DRC_INVOKED'] + ['-I' + d for d in args.includes] + [args.script]
    run = subprocess.run(command, capture_output=True, text=True, encoding='utf-8', errors='replace')
    if run.returncode != 0:
        sys.stderr.write(run.stderr)
        print(f'{args.script}: the preprocessor failed', file=sys.stderr)
        return 2

    seen = {}
    for identifier, text, file, line in string_entries(tokens(run.stdout)):
        seen.setdefault(identifier, []).append((text, file, line))
    clashes = 0
    for identifier in sorted(seen):
        texts = {text for text, _, _ in seen[identifier]}
        if len(texts) < 2:
            continue
        clashes += 1
        print(f'string {identifier} is defined with {len(texts)} different texts:', file=sys.stderr)
        for text, file, line in seen[identifier]:
            print(f'  {file}:{line}: "{text}"', file=sys.stderr)
    if clashes:
        print(f'{clashes} string identifier(s) with two texts; give each text an identifier of its own',
              file=sys.stderr)
        return 1
    print(f'{len(seen)} string identifiers, each with one text')
    if args.stamp:
        with open(args.stamp, 'w', encoding='utf-8') as stamp:
            stamp.write(f'{len(seen)}\n')
    return 0


if __name__ == '__main__':
    sys.exit(main())
