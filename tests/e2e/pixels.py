"""Small questions about screenshots, answered through ImageMagick's PPM output.

  pixels.py rgb FILE X Y                   colour of one pixel as "r g b"
  pixels.py diff FILE1 FILE2 X Y W H       share of differing pixels in a rectangle (0..1)
  pixels.py match FILE X Y PICTURE MX MY W H
      share of the opaque pixels of a masked sprite (image at 0,0 of PICTURE, mask
      at MX,MY) that FILE shows at X,Y within a tolerance (0..1)
  pixels.py like FILE X Y W H PICTURE      mean absolute difference against PICTURE (0..255)
"""
import subprocess
import sys


def load(path, crop=None):
    args = ["convert", path]
    if crop:
        args += ["-crop", "%dx%d+%d+%d" % (crop[2], crop[3], crop[0], crop[1]), "+repage"]
    data = subprocess.run(args + ["-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[pos:pos + w * h * 3]


def main():
    cmd = sys.argv[1]
    if cmd == "rgb":
        x, y = int(sys.argv[3]), int(sys.argv[4])
        w, h, p = load(sys.argv[2], (x, y, 1, 1))
        print(p[0], p[1], p[2])
    elif cmd == "diff":
        x, y, w, h = map(int, sys.argv[4:8])
        _, _, a = load(sys.argv[2], (x, y, w, h))
        _, _, b = load(sys.argv[3], (x, y, w, h))
        n = len(a) // 3
        changed = sum(1 for i in range(n) if max(abs(a[3 * i + c] - b[3 * i + c]) for c in range(3)) > 24)
        print("%.4f" % (changed / max(n, 1)))
    elif cmd == "match":
        x, y = int(sys.argv[3]), int(sys.argv[4])
        mx, my, w, h = map(int, sys.argv[6:10])
        _, _, shot = load(sys.argv[2], (x, y, w, h))
        _, _, img = load(sys.argv[5], (0, 0, w, h))
        _, _, mask = load(sys.argv[5], (mx, my, w, h))
        opaque = good = 0
        for i in range(w * h):
            if mask[3 * i] < 64:
                opaque += 1
                if max(abs(shot[3 * i + c] - img[3 * i + c]) for c in range(3)) < 40:
                    good += 1
        print("%.4f" % (good / max(opaque, 1)))
    elif cmd == "like":
        x, y, w, h = map(int, sys.argv[3:7])
        _, _, a = load(sys.argv[2], (x, y, w, h))
        _, _, b = load(sys.argv[7], (0, 0, w, h))
        print("%.1f" % (sum(abs(a[i] - b[i]) for i in range(len(a))) / max(len(a), 1)))


main()
