#!/usr/bin/env python3
"""Fails when a manual page falls behind its program's --help.

  check_manpage.py cli TANDREL-CLI PAGE CLIARGS-HEADER
      every command and subcommand of `tandrel-cli --help` has its own
      heading; each option and literal word of its usage forms is described
      under that heading; every exit code of the header is in EXIT STATUS.
  check_manpage.py gui TANDREL PAGE
      every option of `tandrel --help` is in OPTIONS.
"""
import re
import subprocess
import sys


def roff_text(line):
    """A roff line as the words a reader sees."""
    line = re.sub(r'^\.[A-Za-z]+\s*', '', line)
    line = line.replace('\\-', '-').replace('\\&', '').replace('\\e', '\\')
    line = re.sub(r'\\f[BIRP]', '', line)
    line = re.sub(r'\\\[[^]]*\]|\\\(..', ' ', line)
    return line.replace('"', ' ')


def sections(page, macro):
    """{heading: text} for the headings of one macro (.SH or .SS)."""
    result, current = {}, None
    for raw in page.splitlines():
        if raw.startswith('.SH ') or raw.startswith('.SS '):
            if raw.startswith(macro + ' '):
                current = ' '.join(roff_text(raw).split())
                result[current] = ''
            elif macro == '.SS':
                current = None
            continue
        if current is not None:
            result[current] += roff_text(raw) + '\n'
    return result


def words_of(text):
    words = set(re.findall(r'--?[A-Za-z0-9][A-Za-z0-9-]*|[A-Za-z0-9][A-Za-z0-9_.-]*', text))
    return words | {w for w in text.split() if w == '--'}


def help_text(*args):
    run = subprocess.run(list(args) + ['--help'], capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f'{" ".join(args)} --help exited {run.returncode}: {run.stderr}')
    return run.stdout


def forms(program, command):
    """The usage forms of a command, each without 'usage:' and the program."""
    out = []
    for line in help_text(program, command).splitlines():
        m = re.match(r'^(?:usage:)?\s*tandrel-cli\s+(.*)$', line)
        if m:
            out.append(m.group(1).split())
    return out


def is_placeholder(word):
    return re.fullmatch(r'[A-Z][A-Z0-9.-]*|\.\.\.', word) is not None


def literal_words(tokens):
    """Options and literal values of a form: --x, and lower-case words."""
    found = set()
    for token in tokens:
        for part in re.split(r'[\[\]|]', token):
            if part.startswith('-') or (re.fullmatch(r'[a-z][a-z0-9-]*', part) is not None):
                found.add(part)
    return found


def check_cli(program, page_path, header_path):
    page = open(page_path, encoding='utf-8').read()
    headings = sections(page, '.SS')
    problems = []
    commands = re.findall(r'^  ([a-z][a-z0-9-]*) ', help_text(program), re.M)
    if not commands:
        problems.append('tandrel-cli --help lists no commands')
    for command in commands:
        for form in forms(program, command):
            sub = form[1] if len(form) > 1 and re.fullmatch(r'[a-z][a-z-]*', form[1]) else None
            title = f'{command} {sub}' if sub else command
            matching = [h for h in headings if h == title or h.startswith(title + ' ')]
            if not matching:
                problems.append(f'no heading for "{title}"')
                continue
            documented = words_of(headings[matching[0]] + ' ' + matching[0])
            wanted = literal_words(form[1:]) | {w for w in form[1:2] if not is_placeholder(w) and '|' not in w}
            for word in sorted(wanted):
                if word not in documented:
                    problems.append(f'"{title}": {word} is not described')
    exit_codes = re.findall(r'inline constexpr int kExit\w+ = (\d+);', open(header_path).read())
    status = sections(page, '.SH').get('EXIT STATUS', '')
    if not exit_codes:
        problems.append(f'no exit codes in {header_path}')
    for code in exit_codes:
        if not re.search(rf'^{code}$', status, re.M):
            problems.append(f'exit code {code} is not in EXIT STATUS')
    return problems


def check_gui(program, page_path):
    page = open(page_path, encoding='utf-8').read()
    options = words_of(sections(page, '.SH').get('OPTIONS', ''))
    wanted = set(re.findall(r'(?<![\w-])(--?[a-z]*)', help_text(program)))
    return [f'{o} is not in OPTIONS' for o in sorted(wanted) if o not in options]


def main():
    if len(sys.argv) == 5 and sys.argv[1] == 'cli':
        problems = check_cli(*sys.argv[2:])
    elif len(sys.argv) == 4 and sys.argv[1] == 'gui':
        problems = check_gui(*sys.argv[2:])
    else:
        sys.exit(__doc__)
    for problem in problems:
        print(f'{sys.argv[3]}: {problem}')
    sys.exit(1 if problems else 0)


if __name__ == '__main__':
    main()
