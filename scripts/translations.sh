#!/bin/sh
# Refreshes translations/en_US_app.ts from the sources: new texts come in as
# unfinished entries to translate. Texts the scanner cannot see (system
# register remarks and undo texts, looked up at run time) stay translated:
# the scanner would mark them vanished, and the release tool drops those.
set -e
cd "$(dirname "$0")/.."
catalogue=translations/en_US_app.ts
lupdate -locations none -source-language zh_CN -target-language en_US \
    src tools/cli -ts "$catalogue"
python3 - "$catalogue" <<'PY'
import re, sys
path = sys.argv[1]
text = open(path, encoding='utf-8').read()
# A vanished entry that was translated is kept as it was; one never
# translated is dropped.
text = re.sub(r'\s*<message>\s*<source>(?:(?!</message>).)*?<translation type="vanished"></translation>\s*</message>',
              '', text, flags=re.S)
text = text.replace('<translation type="vanished">', '<translation>')
open(path, 'w', encoding='utf-8').write(text)
PY
echo "untranslated: $(grep -c 'type="unfinished"' "$catalogue" || true)"
