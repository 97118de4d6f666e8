# Makes the hand-made workbooks of this folder (see README.md):
#   python3 make-zips.py tests/data/exchange
import zipfile, struct, zlib, sys
out = sys.argv[1]
CT = '''<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/></Types>'''
RELNS = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
def package(name, workbook_rels, parts):
    with zipfile.ZipFile(name, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml', CT)
        z.writestr('_rels/.rels', '<?xml version="1.0"?><pr:Relationships xmlns:pr="http://schemas.openxmlformats.org/package/2006/relationships"><pr:Relationship Id="rId1" Type="%s/officeDocument" Target="book/wb.xml"/></pr:Relationships>' % RELNS)
        z.writestr('book/_rels/wb.xml.rels', workbook_rels)
        for k, v in parts.items():
            z.writestr(k, v)

# Prefixed names everywhere, the first sheet in workbook order is the second
# relationship and lives under another name, no dimension, cells without
# positions, rich text with reading aids, inline rich text, booleans, errors.
wb = '''<?xml version="1.0" encoding="UTF-8"?>
<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:rel="%s">
<x:sheets><x:sheet name="Wanted" sheetId="7" rel:id="rIdB"/><x:sheet name="Ignored" sheetId="1" rel:id="rIdA"/></x:sheets></x:workbook>''' % RELNS
rels = '''<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rIdA" Type="%s/worksheet" Target="sheets/first.xml"/>
<Relationship Id="rIdB" Type="%s/worksheet" Target="/book/sheets/second.xml"/>
<Relationship Id="rIdS" Type="%s/sharedStrings" Target="../book/strings.xml"/>
</Relationships>''' % (RELNS, RELNS, RELNS)
sst = '''<?xml version="1.0" encoding="UTF-8"?>
<s:sst xmlns:s="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3" uniqueCount="3">
<s:si><s:t>名称</s:t></s:si>
<s:si><s:r><s:rPr><s:b/></s:rPr><s:t>Motor</s:t></s:r><s:r><s:t xml:space="preserve"> 启动</s:t></s:r><s:rPh sb="0" eb="1"><s:t>QIDONG</s:t></s:rPh></s:si>
<s:si><s:t>&amp;&lt;&gt; "a,b"</s:t></s:si>
</s:sst>'''
wanted = '''<?xml version="1.0" encoding="UTF-8"?>
<w:worksheet xmlns:w="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<w:sheetData>
<w:row r="2"><w:c t="s"><w:v>0</w:v></w:c><w:c t="inlineStr"><w:is><w:r><w:t>in</w:t></w:r><w:r><w:t>line</w:t></w:r></w:is></w:c></w:row>
<w:row><w:c r="B3" t="s"><w:v>1</w:v></w:c><w:c r="D3" t="b"><w:v>1</w:v></w:c><w:c r="E3" t="b"><w:v>0</w:v></w:c></w:row>
<w:row r="4"><w:c r="B4" t="s"><w:v>2</w:v></w:c><w:c r="C4" t="e"><w:f>1/0</w:f><w:v>#DIV/0!</w:v></w:c><w:c r="D4"><w:v>2.50</w:v></w:c><w:c r="E4" t="n"><w:v>1E+21</w:v></w:c></w:row>
</w:sheetData>
<w:mergeCells count="1"><w:mergeCell ref="B3:B4"/></w:mergeCells>
</w:worksheet>'''
ignored = '''<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>wrong sheet</t></is></c></row></sheetData></worksheet>'''
package(out + '/prefixed.xlsx', rels, {'book/wb.xml': wb, 'book/strings.xml': sst,
        'book/sheets/second.xml': wanted, 'book/sheets/first.xml': ignored})

# A sheet whose entry says it unpacks to more than 256 MB.
plain_rels = '''<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="r1" Type="%s/worksheet" Target="s.xml"/></Relationships>''' % RELNS
plain_wb = '''<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="%s"><sheets><sheet name="S" sheetId="1" r:id="r1"/></sheets></workbook>''' % RELNS
small_sheet = '''<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>x</t></is></c></row></sheetData></worksheet>'''
name = out + '/declared-oversize.xlsx'
package(name, plain_rels, {'book/wb.xml': plain_wb, 'book/s.xml': small_sheet})
data = bytearray(open(name, 'rb').read())
target = b'book/s.xml'
# Patch the uncompressed size in the local header and the central directory.
i = 0
while True:
    i = data.find(b'PK\x03\x04', i)
    if i < 0: break
    n = struct.unpack_from('<H', data, i + 26)[0]
    if data[i + 30:i + 30 + n] == target:
        struct.pack_into('<I', data, i + 22, 300 * 1024 * 1024)
    i += 4
i = 0
while True:
    i = data.find(b'PK\x01\x02', i)
    if i < 0: break
    n = struct.unpack_from('<H', data, i + 28)[0]
    if data[i + 46:i + 46 + n] == target:
        struct.pack_into('<I', data, i + 24, 300 * 1024 * 1024)
    i += 4
open(name, 'wb').write(bytes(data))

# A sheet that says it unpacks to 4 KB but holds 16 MB: the zip is written
# by hand, as no archiver writes a false size.
entries = []
def add(name, data, declared=None):
    co = zlib.compressobj(9, zlib.DEFLATED, -15)
    comp = co.compress(data) + co.flush()
    entries.append((name.encode(), comp, zlib.crc32(data), len(data) if declared is None else declared))
add('_rels/.rels', ('<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="%s/officeDocument" Target="book/wb.xml"/></Relationships>' % RELNS).encode())
add('book/_rels/wb.xml.rels', plain_rels.encode())
add('book/wb.xml', plain_wb.encode())
add('book/s.xml', b'<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>' + b' ' * (16 << 20), declared=4096)
zipped = bytearray()
central = bytearray()
for name, comp, crc, size in entries:
    offset = len(zipped)
    zipped += struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, 0, 8, 0, 0, crc, len(comp), size, len(name), 0) + name + comp
    central += struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 20, 0, 8, 0, 0, crc, len(comp), size, len(name), 0, 0, 0, 0, 0, offset) + name
start_of_central = len(zipped)
zipped += central
zipped += struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, len(entries), len(entries), len(central), start_of_central, 0)
open(out + '/bomb.xlsx', 'wb').write(bytes(zipped))
