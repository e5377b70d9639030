# Screenshots as plain pixel arrays: read from the binary PPM that ImageMagick writes,
# with the few questions the tests ask of a screen region.


class Image:
    def __init__(self, width, height, rgb, path=''):
        self.width = width
        self.height = height
        self._rgb = rgb
        self.path = path

    @staticmethod
    def from_ppm(data, path=''):
        # P6 header: magic, width, height, maximum value, each followed by white space.
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b'#':
                pos = data.index(b'\n', pos)
                continue
            start = pos
            while not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        if fields[0] != b'P6' or fields[3] != b'255':
            raise ValueError(f'not an 8-bit binary PPM: {fields}')
        width, height = int(fields[1]), int(fields[2])
        rgb = data[pos + 1:pos + 1 + 3 * width * height]
        if len(rgb) != 3 * width * height:
            raise ValueError('truncated PPM')
        return Image(width, height, rgb, path)

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self._rgb[i:i + 3])

    def count(self, rect, colour):
        """Pixels of exactly this colour in rect = (left, top, right, bottom), exclusive ends."""
        left, top, right, bottom = rect
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if self.pixel(x, y) == colour)

    def colours(self, rect):
        """{colour: pixel count} over the rectangle, for messages and diagnostics."""
        left, top, right, bottom = rect
        found = {}
        for y in range(top, bottom):
            for x in range(left, right):
                c = self.pixel(x, y)
                found[c] = found.get(c, 0) + 1
        return found

    def describe(self, rect, limit=6):
        common = sorted(self.colours(rect).items(), key=lambda item: -item[1])[:limit]
        return f'{self.path}: most common colours in {rect}: {common}'
