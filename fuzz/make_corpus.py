#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<name>/ (the files are committed).

Seeds: the test skin (bitmaps, description, image stream raw and compressed) and one hand-made
case per known bitmap crash class: a lying size field, negative heights, a colour table that
overflows, and dimensions whose stride times height overflows; JPEG pictures and tiny media
clips made with the ffmpeg command line."""
import os
import shutil
import struct
import subprocess
import tempfile
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


def sections(text):
    """The test skin's sections as (name, lines) in file order."""
    found, name = [], None
    for line in text.decode().splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            name = line[1:-1]
            found.append((name, []))
        elif name is not None and line and not line.startswith(";"):
            found[-1][1].append(line)
    return found


# One small seed per description in the test skin (with the frame geometry), and one with the
# popup and hint windows: small inputs keep the target quick, and crossing them over combines
# descriptions again.
skin_sections = dict(sections(ini))


def section_text(name, lines):
    return "[" + name + "]\r\n" + "".join(l + "\r\n" for l in lines)


for list_name in ("SKINOBJECTS", "SKINCONTROLS"):
    for entry in skin_sections[list_name]:
        if entry.startswith("count="):
            continue
        obj = entry.split("=", 1)[1]
        name = obj.split(":", 1)[0]
        text = section_text("FORMINFO", skin_sections["FORMINFO"][:5])
        text += section_text(list_name, ["count=1", "0=" + obj])
        text += section_text(name, skin_sections.get(name, []))
        write("ini", "testskin_" + obj.replace(":", "_") + ".ini", text.encode())
write("ini", "testskin_windows.ini", (section_text("POPUPWINDOW", skin_sections["POPUPWINDOW"]) +
                                      section_text("HINTWINDOW", skin_sections["HINTWINDOW"])).encode())
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


# The stream's own layout is this target's work; the long description is the ini target's. A
# short one keeps each input quick.
short_ini = (
    "[VERSION]\r\nskinname=Short\r\n[PICTURES]\r\n[FORMINFO]\r\nlefttoppoint=4,20\r\n"
    "rightbottompoint=60,44\r\nclientrect=4,20,60,44\r\nbgpictureindex=0\r\n"
    "[SKINOBJECTS]\r\ncount=2\r\n0=closebutton:stdbutton\r\n1=caption:caption\r\n"
    "[SKINCONTROLS]\r\ncount=1\r\n0=button:button\r\n"
    "[closebutton]\r\nactivepictureindex=0\r\nskinrect=44,4,58,16\r\ncommand=cmclose\r\n"
    "morphkind=mkgradient\r\n[caption]\r\ntextrect=4,2,40,18\r\nfontstyle=fsbold\r\n"
    "[button]\r\npictureindex=0\r\nskinrect=0,0,16,16\r\n").encode()
skin = image_stream([read("main.bmp"), None, read("mask.bmp")],
                    [read("buttons.bmp"), read("caption.bmp"), read("glyphs.bmp")], short_ini)
write("skin_stream", "testskin_raw", b"\x00" + skin)
write("skin_stream", "testskin_zlib", b"\x01" + zlib.compress(skin, 9))
write("skin_stream", "version_2", b"\x00" + struct.pack("<i", 2) + skin[4:])
write("skin_stream", "active_count_huge",
      b"\x00" + image_stream([None, None, None], [], b"")[:-4] + struct.pack("<i", 2**31 - 1))
for name, data in crash_bmps.items():
    write("skin_stream", "bmp_" + name, b"\x00" + image_stream([data, None, None], [], short_ini))


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


# JPEG: the placeholder as it stands and claiming sizes that must be scaled or refused, pictures
# in other sampling and colour forms made with ffmpeg, and a progressive one (ImageMagick, when
# present).
PLACEHOLDER = os.path.join(HERE, "..", "resources", "noframe.jpg")


def with_size(jpeg, width, height):
    at = next(i for i in range(len(jpeg) - 1) if jpeg[i] == 0xFF and jpeg[i + 1] in (0xC0, 0xC2))
    return jpeg[:at + 5] + struct.pack(">HH", height, width) + jpeg[at + 9:]


with open(PLACEHOLDER, "rb") as f:
    noframe = f.read()
write("jpeg", "noframe.jpg", noframe)
write("jpeg", "claims_8192x8192.jpg", with_size(noframe, 8192, 8192))
write("jpeg", "claims_65535x65535.jpg", with_size(noframe, 65535, 65535))
write("jpeg", "claims_0x10.jpg", with_size(noframe, 0, 10))

tmp = tempfile.mkdtemp()


def ffmpeg(args, out):
    path = os.path.join(tmp, out)
    subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-y"] + args.split() + [path], check=True)
    with open(path, "rb") as f:
        return f.read()


for name, fmt in (("yuv420", "yuvj420p"), ("yuv444", "yuvj444p"), ("gray", "gray")):
    write("jpeg", name + ".jpg", ffmpeg(
        "-f lavfi -i testsrc2=s=40x30 -frames:v 1 -c:v mjpeg -q:v 8 -pix_fmt " + fmt, "p.jpg"))
if shutil.which("convert"):
    src = os.path.join(tmp, "src.jpg")
    with open(src, "wb") as f:
        f.write(noframe)
    progressive = os.path.join(tmp, "progressive.jpg")
    subprocess.run(["convert", src, "-resize", "60x45", "-interlace", "Plane", progressive],
                   check=True)
    with open(progressive, "rb") as f:
        write("jpeg", "progressive.jpg", f.read())

# Media: tiny clips of the containers and codecs a user opens. The first byte of each input
# picks the name the format is guessed from (0 .avi, 1 .mpg, 2 .m2v, 3 none) and the grab's
# time (bits 2-4, in half seconds).
SRC = "-f lavfi -i testsrc2=s=32x24:r=10:d=0.5 "
media = {
    "mpeg4_pcm.avi": (0, SRC + "-f lavfi -i sine=r=8000:d=0.5 -c:v mpeg4 -g 3 -bf 1 -q:v 10 "
                         "-c:a pcm_u8"),
    "mjpeg.avi": (4, SRC + "-c:v mjpeg -q:v 20"),
    "raw.avi": (0, "-f lavfi -i testsrc2=s=16x16:r=10:d=0.3 -c:v rawvideo -pix_fmt bgr24"),
    "cinepak.avi": (4, SRC + "-c:v cinepak"),
    "mpeg1_mp2.mpg": (5, "-f lavfi -i testsrc2=s=32x32:r=25:d=0.4 -f lavfi -i sine=r=32000:d=0.4 "
                         "-c:v mpeg1video -q:v 20 -g 4 -c:a mp2 -b:a 32k -f mpeg"),
    "mpeg2_bt709.vob": (1, "-f lavfi -i testsrc2=s=32x32:r=25:d=0.4 -c:v mpeg2video -q:v 20 -g 4 "
                           "-bf 2 -colorspace bt709 -color_primaries bt709 -color_trc bt709 -f vob"),
    "mpeg2.m2v": (6, "-f lavfi -i testsrc2=s=32x32:r=25:d=0.4 -c:v mpeg2video -q:v 20 -g 4 "
                     "-f mpeg2video"),
    "mpeg2.ts": (3, "-f lavfi -i testsrc2=s=32x32:r=25:d=0.2 -c:v mpeg2video -q:v 25 -f mpegts"),
}
for name, (prefix, args) in media.items():
    write("media", name, bytes([prefix]) + ffmpeg(args, name))
shutil.rmtree(tmp)
