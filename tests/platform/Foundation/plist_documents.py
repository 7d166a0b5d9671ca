# Random property lists written by Python's plistlib, and the check that our
# copies of them read back the same.
#   plist_documents.py write FOLDER COUNT SEED   writes doc-N.xml and doc-N.bin
#   plist_documents.py check FOLDER              compares each doc-N.* with out-N.*
import datetime, os, plistlib, random, struct, sys

def real(rng, xml):
    bits = rng.getrandbits(64)
    value = struct.unpack('>d', bits.to_bytes(8, 'big'))[0]
    if xml and value != value:
        return float('nan')  # XML holds only the plain NaN
    return rng.choice([value, 0.1, -0.0, 0.0, float('inf'), -float('inf'), 5e-324, 1e308])

def text(rng, xml):
    def scalar():
        while True:
            code = rng.choice([rng.randrange(0x80), rng.randrange(0x800), rng.randrange(0x110000)])
            if 0xD800 <= code <= 0xDFFF:
                continue
            if xml and ((code < 0x20 and code not in (9, 10)) or code in (0xFFFE, 0xFFFF)):
                continue
            return chr(code)
    return ''.join(scalar() for _ in range(rng.randrange(12)))

def date(rng, xml):
    first, last = datetime.datetime(1, 1, 1), datetime.datetime(9999, 12, 31, 23, 59, 59)
    span = int((last - first).total_seconds())
    moment = first + datetime.timedelta(seconds=rng.randrange(span + 1))
    if not xml:
        moment = moment.replace(microsecond=rng.randrange(1000000))
    return moment

def integer(rng):
    edges = [0, 1, -1, 2**63 - 1, -2**63, 2**63, 2**64 - 1, 255, 256, 65535, 65536, 2**32]
    return rng.choice(edges + [rng.randrange(-2**63, 2**64)])

def value(rng, xml, depth):
    kinds = ['int', 'real', 'bool', 'str', 'data', 'date'] + ([] if xml else ['uid'])
    if depth < 6:
        kinds += ['array', 'dict'] * 2
    kind = rng.choice(kinds)
    if kind == 'int': return integer(rng)
    if kind == 'real': return real(rng, xml)
    if kind == 'bool': return rng.random() < 0.5
    if kind == 'str': return text(rng, xml)
    if kind == 'data': return rng.randbytes(rng.randrange(40))
    if kind == 'date': return date(rng, xml)
    if kind == 'uid': return plistlib.UID(rng.randrange(2**64))
    if kind == 'array': return [value(rng, xml, depth + 1) for _ in range(rng.randrange(5))]
    return {text(rng, xml): value(rng, xml, depth + 1) for _ in range(rng.randrange(6))}

def canonical(v):
    if isinstance(v, bool): return ('bool', v)
    if isinstance(v, int): return ('int', v)
    if isinstance(v, float): return ('real', struct.pack('>d', v))
    if isinstance(v, plistlib.UID): return ('uid', v.data)
    if isinstance(v, list): return ('array', [canonical(x) for x in v])
    if isinstance(v, dict): return ('dict', sorted((k, canonical(x)) for k, x in v.items()))
    return (type(v).__name__, v)

def write(folder, count, seed):
    rng = random.Random(seed)
    for n in range(count):
        xml = n % 2 == 0
        root = {text(rng, xml): value(rng, xml, 1) for _ in range(rng.randrange(1, 12))}
        form = plistlib.FMT_XML if xml else plistlib.FMT_BINARY
        with open(os.path.join(folder, 'doc-%d.%s' % (n, 'xml' if xml else 'bin')), 'wb') as f:
            plistlib.dump(root, f, fmt=form, sort_keys=rng.random() < 0.5)

def check(folder):
    passed = failed = 0
    for name in sorted(os.listdir(folder)):
        if not name.startswith('doc-'):
            continue
        with open(os.path.join(folder, name), 'rb') as f:
            original = canonical(plistlib.load(f))
        with open(os.path.join(folder, name.replace('doc-', 'out-')), 'rb') as f:
            ours = canonical(plistlib.load(f))
        if original == ours:
            passed += 1
        else:
            failed += 1
            print('differs:', name)
    print('%d passed, %d failed' % (passed, failed))
    return failed == 0 and passed > 0

if sys.argv[1] == 'write':
    write(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
else:
    sys.exit(0 if check(sys.argv[2]) else 1)
