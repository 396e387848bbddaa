#!/usr/bin/env python3
"""A foreign caller of tvbcclib: Python through ctypes, using the length-prefixed (d__) family only where
strings travel, as a Fortran or Delphi program would. Usage: length_prefixed_client.py path/to/libtvbcclib.so"""
import ctypes
import sys

lib = ctypes.CDLL(sys.argv[1])
c_void_pp = ctypes.POINTER(ctypes.c_void_p)


def block(*texts, slots=20):
    """Slots of 256 bytes, each holding one text as a length-prefixed string."""
    buf = ctypes.create_string_buffer(slots * 256)
    for i, text in enumerate(texts):
        data = text.encode()
        buf[i * 256] = len(data)
        buf[i * 256 + 1:i * 256 + 1 + len(data)] = data
    return buf


def lp(text):
    return block(text, slots=1)


def from_lp(buf, offset=0):
    n = buf.raw[offset]
    return buf.raw[offset + 1:offset + 1 + n].decode()


failures = 0


def expect(label, actual, wanted):
    global failures
    ok = actual == wanted
    failures += not ok
    print(f"{'ok' if ok else 'FAIL'}: {label}: {actual!r}" + ("" if ok else f" (wanted {wanted!r})"))


db = ctypes.c_void_p()
expect("create", lib.xcreate(ctypes.byref(db)), 1)

sym = ctypes.c_void_p()
rc = lib.d__tvbaddsymbol(db, lp("dist"), 2, 1, 0, lp("distance in miles"), ctypes.byref(sym))
expect("add symbol", rc, 1)

rec = ctypes.c_void_p()
expect("add record", lib.tvbaddrecord_(db, sym, block("seattle", "new-york"), ctypes.byref(rec)), 1)
lib.c__tvbsetlevel.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_double]
expect("set level", lib.c__tvbsetlevel(db, rec, 2.5), 1)
lib.c__tvbfreesymboliterator(db, rec)

found = ctypes.c_void_p()
expect("find record", lib.d__tvbfindrecord(db, sym, block("SEATTLE", "new-york"), ctypes.byref(found)), 1)
keys = block()
expect("get keys", lib.d__tvbgetkeys(db, found, 2, keys), 1)
expect("keys", (from_lp(keys, 0), from_lp(keys, 256)), ("seattle", "new-york"))
level = ctypes.c_double()
expect("get level", lib.tvbgetlevel_(db, found, ctypes.byref(level)), 1)
expect("level", level.value, 2.5)
lib.c__tvbfreesymboliterator(db, found)

text = lp("")
ival, dval = ctypes.c_int(), ctypes.c_double()
expect("symbol text", lib.d__tvbsymbolinfo(db, sym, 5, ctypes.byref(ival), ctypes.byref(dval), text), 1)
expect("text", from_lp(text), "distance in miles")

expect("bad record", lib.d__tvbfindrecord(db, sym, block("nowhere", "x"), ctypes.byref(found)), 0)
err = lp("")
expect("last error", lib.tvbgetlasterror_(db, err), 1)
expect("message", from_lp(err), "Cannot find element nowhere (on position 1) in Symbol dist")

msg = lp("")
expect("check", lib.d__xcheck(lp("tvbGetLevel"), 2, (ctypes.c_int * 3)(15, 1, 14), msg), 1)
expect("free", lib.xfree(ctypes.byref(db)), 1)
print(f"{failures == 0 and 'all passed' or str(failures) + ' failed'}")
sys.exit(1 if failures else 0)
