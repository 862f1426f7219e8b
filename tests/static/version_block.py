#!/usr/bin/env python3
"""Prints a PE file's version block as 'FILEVERSION PRODUCTVERSION FileVersion
ProductVersion': the fixed numbers and the two strings, for comparison with
the project's version."""
import re, struct, sys

def main(path):
    data = open(path, 'rb').read()
    at = data.find(struct.pack('<I', 0xFEEF04BD))
    if at < 0:
        sys.exit('no version block in ' + path)
    fms, fls, pms, pls = struct.unpack_from('<IIII', data, at + 8)
    dotted = lambda ms, ls: '%d.%d.%d.%d' % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    def text(key):
        m = re.search((key + '\0').encode('utf-16-le') + rb'(?:\0\0)*((?:[^\0]\0)+)\0\0', data[at:])
        return m.group(1).decode('utf-16-le') if m else '-'
    print(dotted(fms, fls), dotted(pms, pls), text('FileVersion'), text('ProductVersion'))

main(sys.argv[1])
