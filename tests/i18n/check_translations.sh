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
lupdate=$1 sources=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copies=()
for ts in "$@"; do
  cp "$ts" "$work/" || exit 2
  copies+=("$work/$(basename "$ts")")
done
"$lupdate" -silent -locations none -extensions cpp,h "$sources" -ts "${copies[@]}" >/dev/null || exit 2

python3 - "${copies[@]}" <<'PYTHON'
import re, sys, xml.etree.ElementTree as ET

faults = 0
placeholder = re.compile(r'%(?:n|[1-9])')
for path in sys.argv[1:]:
    ts = path.rsplit('/', 1)[-1]
    for context in ET.parse(path).getroot().iter('context'):
        for message in context.iter('message'):
            source = message.findtext('source') or ''
            translation = message.find('translation')
            kind = translation.get('type', '')
            numerus = message.get('numerus') == 'yes'
            forms = [f.text or '' for f in translation.iter('numerusform')] if numerus else [translation.text or '']
            why = None
            if kind in ('obsolete', 'vanished'):
                why = 'is no longer in the sources'
            elif kind == 'unfinished':
                why = 'is unfinished'
            elif not all(forms):
                why = 'lacks a plural form' if numerus else 'has no translation'
            else:
                wanted = set(placeholder.findall(source))
                for i, form in enumerate(forms):
                    lost = wanted - set(placeholder.findall(form)) - ({'%n'} if numerus and i == 0 else set())
                    if lost:
                        why = 'drops ' + ', '.join(sorted(lost))
            if why:
                faults += 1
                print(f'{ts}: {context.findtext("name")}: "{source}" {why}')
print(f'translations: {faults} faults')
sys.exit(1 if faults else 0)
PYTHON
