#!/usr/bin/env python3
"""Writes the seeds of kobrix_fuzz_archive into fuzz/corpus/archive/: labels of each format
the program reads (PDS3 with and without a VICAR header, detached, PDS4, VICAR, ISIS3), a few
hostile ones (deep nesting, open strings, names outside the folder), and sample buffers for
the display rule (four bytes: type, bands, clip share, width; then the samples)."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "corpus", "archive")
os.makedirs(out, exist_ok=True)
for name in os.listdir(out):
    os.remove(os.path.join(out, name))

facts = ('PRODUCT_ID = "2P126471340EFF0000P2303L5M1"\r\nINSTRUMENT_ID = "PANCAM_LEFT"\r\n'
         'START_TIME = 2004-01-04T12:00:00.123Z\r\nSPACECRAFT_CLOCK_START_COUNT = "126471340.466"\r\n'
         'PLANET_DAY_NUMBER = 1\r\nLOCAL_TRUE_SOLAR_TIME = "13:45:12"\r\n')
image = ('OBJECT = IMAGE\r\n  LINES = 2\r\n  LINE_SAMPLES = 4\r\n  SAMPLE_TYPE = MSB_UNSIGNED_INTEGER\r\n'
         '  SAMPLE_BITS = 16\r\n  BANDS = 1\r\nEND_OBJECT = IMAGE\r\nEND\r\n')
vicar = "LBLSIZE=96          FORMAT='HALF' TYPE='IMAGE' NL=2 NS=4 NB=1 INTFMT='HIGH' PRODUCT_ID='X'"
seeds = {
    "pds3-attached": "PDS_VERSION_ID = PDS3\r\nRECORD_BYTES = 8\r\n^IMAGE = 40\r\n" + facts + image,
    "pds3-vicar-header": "PDS_VERSION_ID = PDS3\r\n^IMAGE_HEADER = 30\r\n^IMAGE = 42\r\n" + facts +
                         "/* comment */\r\nNOTE = \"two\r\n lines\"\r\n" + image + vicar.ljust(96),
    "pds3-detached": "PDS_VERSION_ID = PDS3\r\n^IMAGE = (\"2P1.IMG\", 1)\r\nGROUP = G\r\n A = (1, {2, 3})\r\n"
                     "END_GROUP = G\r\n" + facts + image,
    "vicar": vicar.ljust(96) + "\0" * 16,
    "pds4": '<?xml version="1.0"?>\n<Product_Observational xmlns="http://pds.nasa.gov/pds4/pds/v1">'
            "<start_date_time>2004-01-04T12:00:00Z</start_date_time><!-- c --><File><file_name>a.dat"
            "</file_name></File><data_type>UnsignedMSB2</data_type></Product_Observational>\n",
    "isis3": "Object = IsisCube\n  Object = Core\n    ^Core = a.cub\n    Group = Pixels\n"
             "      Type = SignedWord\n    End_Group\n  End_Object\nEnd_Object\nEnd\n",
    "broken-deep": "PDS_VERSION_ID = PDS3\r\n" + "OBJECT = X\r\n" * 40 + "END\r\n",
    "broken-string": "PDS_VERSION_ID = PDS3\r\nA = \"open\r\nEND\r\n",
    "broken-outside": "PDS_VERSION_ID = PDS3\r\n^IMAGE = (\"../x.IMG\", 1)\r\nEND\r\n",
    "broken-vax": "PDS_VERSION_ID = PDS3\r\nOBJECT = IMAGE\r\n SAMPLE_TYPE = VAX_REAL\r\n SAMPLE_BITS = 32\r\n"
                  "END_OBJECT = IMAGE\r\nEND\r\n",
}
for name, text in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(text.encode("latin-1"))

# Display rule buffers: (type, bands, share, width) and samples.
buffers = {
    "display-u8": bytes([0, 0, 1, 3]) + bytes(range(0, 240, 20)),
    "display-u16": bytes([2, 0, 1, 4]) + struct.pack("<12H", *range(100, 3700, 300)),
    "display-i16-rgb": bytes([3, 2, 0, 2]) + struct.pack("<6h", -300, -100, 0, 100, 200, 300),
    "display-f32-nan": bytes([6, 0, 3, 3]) + struct.pack("<6f", float("nan"), float("inf"), 1, 2, 3, -1),
    "display-f64": bytes([7, 0, 255, 2]) + struct.pack("<4d", 1e300, -1e300, 0, 5),
    "display-u32": bytes([4, 0, 1, 2]) + struct.pack("<4I", 0, 4000000000, 7, 8),
}
for name, data in buffers.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
