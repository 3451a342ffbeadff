#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The translations keep up with the sources. lupdate brings copies of the .ts files up to
# date with the sources; then every text must have a finished translation, none may be gone
# from the sources (obsolete or vanished), every plural form must be there, and no
# translation may drop a placeholder of its source (%1..%9, %n; a singular form may spell
# out its one). Prints each fault and exits 1 on any; the .ts files are not changed.
set -uo pipefail
if [ $# -lt 3 ] || [ ! -x "$1" ] || [ ! -d "$2" ]; then
  echo "usage: check_translations.sh LUPDATE SOURCE_FOLDER FILE.ts... (got: $*)" >&2
  exit 2
fi
lupdate=$1 sources=$2 work=$(mktemp -d)
shift 2
trap 'rm -rf "$work"' EXIT
cp "$@" "$work/" || exit 2
names=("${@##*/}")
copies=("${names[@]/#/$work/}")
"$lupdate" -silent -locations none -extensions cpp,h "$sources" -ts "${copies[@]}" >/dev/null || exit 2

python3 - "${copies[@]}" <<'PYTHON'
import re, sys, xml.etree.ElementTree as ET

def fault(message, numerus):
    translation = message.find('translation')
    kind = translation.get('type', '')
    if kind in ('obsolete', 'vanished'):
        return 'is no longer in the sources'
    if kind == 'unfinished':
        return 'is unfinished'
    forms = [f.text or '' for f in translation.iter('numerusform')] if numerus else [translation.text or '']
    if not all(forms):
        return 'lacks a plural form' if numerus else 'has no translation'
    wanted = set(re.findall(r'%(?:n|[1-9])', message.findtext('source') or ''))
    for i, form in enumerate(forms):
        lost = wanted - set(re.findall(r'%(?:n|[1-9])', form)) - ({'%n'} if numerus and i == 0 else set())
        if lost:
            return 'drops ' + ', '.join(sorted(lost))

faults = 0
for path in sys.argv[1:]:
    for context in ET.parse(path).getroot().iter('context'):
        for message in context.iter('message'):
            why = fault(message, message.get('numerus') == 'yes')
            if why:
                faults += 1
                print(f'{path.rsplit("/", 1)[-1]}: {context.findtext("name")}: "{message.findtext("source")}" {why}')
print(f'translations: {faults} faults')
sys.exit(1 if faults else 0)
PYTHON
