#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<name>/ (the files are committed).

Seeds: the test skin (bitmaps, description, image stream raw and compressed) and one hand-made
case per known bitmap crash class: a lying size field, negative heights, a colour table that
overflows, and dimensions whose stride times height overflows."""
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SKIN = os.path.join(HERE, "..", "tests", "skin", "data", "testskin")


def write(target, name, data):
    d = os.path.join(HERE, "corpus", target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def bmp(width, height, bits, pixels, palette=(), clr_used=None, size=None, off=None,
        compression=0):
    pal = b"".join(struct.pack("<I", c) for c in palette)
    off_real = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                       2835, 2835, len(palette) if clr_used is None else clr_used, 0)
    total = off_real + len(pixels)
    head = b"BM" + struct.pack("<IHHI", total if size is None else size, 0, 0,
                               off_real if off is None else off)
    return head + info + pal + pixels


def read(name):
    with open(os.path.join(SKIN, name), "rb") as f:
        return f.read()


crash_bmps = {
    "lying_size_field": bmp(2, 2, 24, bytes(16), size=100000),
    "size_field_smaller_than_headers": bmp(2, 2, 24, bytes(16), size=20),
    "negative_height_top_down": bmp(2, -2, 24, bytes(range(16))),
    "height_int_min": bmp(2, -2**31, 24, bytes(16)),
    "palette_overflow": bmp(2, 1, 8, bytes(4), palette=(0, 0xFFFFFF), clr_used=100000),
    "palette_past_end": bmp(2, 1, 8, b"", palette=(0, 0xFFFFFF), clr_used=256),
    "stride_times_height_overflow": bmp(0x7FFFFFFF, 0x7FFFFFFF, 32, bytes(8)),
    "wide_rows_missing": bmp(65536, 1024, 32, bytes(8)),
    "offset_past_end": bmp(2, 2, 24, bytes(16), off=0xFFFFFFF0),
    "bitfields_16": bmp(2, 1, 16, struct.pack("<III", 0xF800, 0x07E0, 0x001F) + bytes(4),
                        compression=3),
}
for name, data in crash_bmps.items():
    write("bmp", name + ".bmp", data)
for name in ("main.bmp", "mask.bmp", "buttons.bmp", "caption.bmp", "glyphs.bmp"):
    write("bmp", name, read(name))

ini = read("skin.ini")
write("ini", "testskin.ini", ini)
write("ini", "quirks.ini", (
    "\r\n" * 70 + "[VERSION]\r\n[FORMINFO]\r\nlefttoppoint=1,1\r\nclientrect=2,23,102,59\r\n"
    "rightbottompoint=200,100\r\nINACTIVEEFFECT=IEINVERT\r\n"
    "[SKINOBJECTS]\r\ncount=4\r\n0=b:stdbutton\r\n1=u:userobject\r\n2=nocolon\r\n3=x:what\r\n"
    "[SKINCONTROLS]\r\ncount=99999999\r\n0=ud:updown\r\n1=l:stdlabel\r\n2=lb:listbox\r\n"
    "[b]\r\ncommand=cmrollup\r\nfontstyle=fsitalicfsbold\r\n[ud]\r\nlefttoppoint=5,5\r\n"
    "[lb]\r\nitemrect=1,,2,3\r\n").encode())


def image_stream(pictures, active, text):
    out = struct.pack("<i", 1)
    for p in pictures:
        out += b"\x01" if p is None else b"\x00" + p
    out += struct.pack("<i", len(active)) + b"".join(active)
    return out + text


skin = image_stream([read("main.bmp"), None, read("mask.bmp")],
                    [read("buttons.bmp"), read("caption.bmp"), read("glyphs.bmp")], ini)
write("skin_stream", "testskin_raw", b"\x00" + skin)
write("skin_stream", "testskin_zlib", b"\x01" + zlib.compress(skin, 9))
write("skin_stream", "version_2", b"\x00" + struct.pack("<i", 2) + skin[4:])
write("skin_stream", "active_count_huge",
      b"\x00" + image_stream([None, None, None], [], b"")[:-4] + struct.pack("<i", 2**31 - 1))
for name, data in crash_bmps.items():
    write("skin_stream", "bmp_" + name, b"\x00" + image_stream([data, None, None], [], ini))


def start_codes(stream):
    """Offsets of the bytes after each 00 00 01 in a video elementary stream."""
    at = stream.find(b"\x00\x00\x01")
    while at >= 0:
        yield at + 3
        at = stream.find(b"\x00\x00\x01", at + 3)


def split_pictures(stream, starts_unit, has_picture):
    """Splits an elementary stream into one packet per picture, headers with the picture that
    follows them, as a demuxer hands them out."""
    packets, begin, seen = [], 0, False
    for at in start_codes(stream):
        if at >= len(stream):
            break
        if seen and starts_unit(stream, at):
            packets.append(stream[begin:at - 3])
            begin, seen = at - 3, False
        seen = seen or has_picture(stream, at)
    packets.append(stream[begin:])
    return packets


def picture_scan_seed(codec_byte, header, packets):
    out = bytes([codec_byte, len(header)]) + header
    for p in packets[:12]:
        out += struct.pack(">H", min(len(p), 0xFFFF)) + p[:0xFFFF]
    return out


def elementary(args, fmt):
    """A few pictures of a moving test picture, encoded by the ffmpeg command line."""
    return subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i",
                           "testsrc2=s=64x48:r=25:d=0.6"] + args + ["-f", fmt, "-"],
                          check=True, capture_output=True).stdout


try:
    m4v = elementary(["-c:v", "mpeg4", "-g", "6", "-bf", "2"], "m4v")
    m2v = elementary(["-c:v", "mpeg2video", "-g", "6", "-bf", "2"], "mpeg2video")
    avc = elementary(["-c:v", "libx264", "-g", "6"], "h264")
except (OSError, subprocess.CalledProcessError):
    # Without the ffmpeg command line the committed seeds stay as they are.
    m4v = m2v = avc = None
if m4v:
    mpeg4 = split_pictures(m4v, lambda s, a: s[a] in (0xB0, 0xB5, 0xB6) or 0x20 <= s[a] <= 0x2F,
                           lambda s, a: s[a] == 0xB6)
    write("picture_scan", "mpeg4_b_frames", picture_scan_seed(0, b"", mpeg4))
    write("picture_scan", "mpeg4_config_in_header",
          picture_scan_seed(0, mpeg4[0][:mpeg4[0].find(b"\x00\x00\x01\xb6")], mpeg4[1:]))
    packed = [mpeg4[0], mpeg4[1] + mpeg4[2], b"\x00\x00\x01\xb6\x7f\xff\xf0"] + mpeg4[3:]
    write("picture_scan", "mpeg4_packed", picture_scan_seed(0, b"", packed))
    mpeg2 = split_pictures(m2v, lambda s, a: s[a] in (0xB3, 0xB8, 0x00),
                           lambda s, a: 0x01 <= s[a] <= 0xAF)
    write("picture_scan", "mpeg2_b_frames", picture_scan_seed(1, b"", mpeg2))
    h264 = split_pictures(avc, lambda s, a: (s[a] & 0x1F) in (6, 7, 8, 9) or
                          ((s[a] & 0x1F) in (1, 5) and a + 1 < len(s) and s[a + 1] & 0x80),
                          lambda s, a: (s[a] & 0x1F) in (1, 5))
    write("picture_scan", "h264_pyramid", picture_scan_seed(2, b"", h264))
