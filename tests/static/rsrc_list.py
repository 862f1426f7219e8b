#!/usr/bin/env python3
"""Lists a PE file's resources as 'type name language size' lines."""
import struct, sys

def main(path):
    data = open(path, 'rb').read()
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    nsec = struct.unpack_from('<H', data, pe + 6)[0]
    optsize = struct.unpack_from('<H', data, pe + 20)[0]
    opt = pe + 24
    magic = struct.unpack_from('<H', data, opt)[0]
    dd = opt + (112 if magic == 0x20B else 96)
    rva, _ = struct.unpack_from('<II', data, dd + 2 * 8)
    sec = opt + optsize
    base = None
    for i in range(nsec):
        s = sec + 40 * i
        vsize, vaddr, rsize, rptr = struct.unpack_from('<IIII', data, s + 8)
        if vaddr <= rva < vaddr + max(vsize, rsize):
            base = rptr + (rva - vaddr); delta = vaddr - rptr
    if base is None:
        return
    def entries(off):
        named, ids = struct.unpack_from('<HH', data, base + off + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from('<II', data, base + off + 16 + 8 * i)
            if name & 0x80000000:
                n = base + (name & 0x7FFFFFFF); ln = struct.unpack_from('<H', data, n)[0]
                name = data[n + 2:n + 2 + 2 * ln].decode('utf-16-le')
            yield name, target
    for t, t_off in entries(0):
        for n, n_off in entries(t_off & 0x7FFFFFFF):
            for l, l_off in entries(n_off & 0x7FFFFFFF):
                drva, dsize = struct.unpack_from('<II', data, base + l_off)
                print(t, n, l, dsize)

main(sys.argv[1])
