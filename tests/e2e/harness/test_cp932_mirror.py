"""The fuzz build's source mirror: escaped literals must hold exactly the bytes that GCC's
-fexec-charset=CP932 makes, and nothing but narrow literals may change."""
import os
import subprocess
import sys
import tempfile
import unittest
from importlib.machinery import SourceFileLoader

ROOT = os.environ.get('PAGINA_SOURCE_DIR') or os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..', '..'))
mirror = SourceFileLoader('cp932_mirror', os.path.join(ROOT, 'tools', 'cp932-mirror')).load_module()

# Literals whose bytes are printed by the probe program, in both builds.
PROBE_LITERALS = [
    '"表ソ能予"',          # trail byte 0x5C
    '"あ1" "b"',           # escape followed by a digit, concatenation
    '"\\"終了(&E)\\"\\r\\n"',
    'R"(能\\n"x")"',        # raw string: backslash and quote are text
    'R"xy(改\n行)xy"',      # raw string with a delimiter and a newline
    '"ｶﾀｶﾅ＼～"',           # half-width kana and full-width signs
]


class ConvertTest(unittest.TestCase):
    def test_untouched_text(self):
        cases = [
            '// 表 comment with "quote"\n',
            '/* 表 "x" */ int a;\n',
            'const wchar_t* w = L"予";\n',
            'auto u = u8"あ"; auto v = u"あ"; auto x = U"あ";\n',
            "int n = 1'000'000; char c = 'a';\n",
            'const char* s = "plain ascii\\x41";\n',
            'int R = 1; int L = 2;\n',
        ]
        for src in cases:
            with self.subTest(src=src):
                self.assertEqual(mirror.convert(src), src)

    def test_escaped_literals(self):
        cases = [
            ('"表"', '"\\225\\134"'),
            ("'あ'", "'\\202\\240'"),
            ('"あ1"', '"\\202\\2401"'),
            ('R"(表)"', '"\\225\\134"'),
            ('R"(a\\b)"', 'R"(a\\b)"'),
        ]
        for src, expected in cases:
            with self.subTest(src=src):
                self.assertEqual(mirror.convert(src), expected)

    def test_errors_name_the_place(self):
        for src, text in [('x;\n"表', 'f.cpp:2'), ('R"(表', 'unterminated raw'), ('"\u4e02"', 'no CP932 code')]:
            with self.subTest(src=src):
                with self.assertRaises(mirror.MirrorError) as ctx:
                    mirror.convert(src, 'f.cpp')
                self.assertIn(text, str(ctx.exception))


def probe_source(literals):
    lines = ['#include <cstdio>', 'static void dump(const char* s, unsigned long n) {',
             '  for (unsigned long i = 0; i < n; ++i) std::printf("%02x", (unsigned char)s[i]);',
             '  std::printf("\\n"); }', 'int main() {']
    for lit in literals:
        lines.append(f'  {{ static const char s[] = {lit}; dump(s, sizeof s); }}')
    lines.append('  return 0; }')
    return '\n'.join(lines) + '\n'


@unittest.skipUnless(subprocess.run(['which', 'g++'], capture_output=True).returncode == 0, 'needs g++')
class SameBytesAsGccTest(unittest.TestCase):
    def build_and_run(self, tmp, name, source, flags):
        src = os.path.join(tmp, name + '.cpp')
        exe = os.path.join(tmp, name)
        with open(src, 'w', encoding='utf-8') as f:
            f.write(source)
        subprocess.run(['g++', '-finput-charset=UTF-8', *flags, '-o', exe, src], check=True)
        return subprocess.run([exe], check=True, capture_output=True, text=True).stdout

    def test_mirror_matches_exec_charset(self):
        source = probe_source(PROBE_LITERALS)
        with tempfile.TemporaryDirectory() as tmp:
            reference = self.build_and_run(tmp, 'gcc', source, ['-fexec-charset=CP932'])
            mirrored = self.build_and_run(tmp, 'mirror', mirror.convert(source), [])
        self.assertEqual(mirrored, reference)
        self.assertEqual(len(reference.splitlines()), len(PROBE_LITERALS))


class MirrorTreeTest(unittest.TestCase):
    def test_copies_converts_and_prunes(self):
        with tempfile.TemporaryDirectory() as tmp:
            src = os.path.join(tmp, 'src')
            dst = os.path.join(src, 'build', 'mirror')  # inside the tree, as test-all places it
            os.makedirs(os.path.join(src, 'lib'))
            with open(os.path.join(src, 'lib', 'a.cpp'), 'w', encoding='utf-8') as f:
                f.write('const char* a = "表";\n')
            with open(os.path.join(src, 'lib', 'data.txt'), 'w', encoding='utf-8') as f:
                f.write('"表"\n')
            mirror.mirror(src, dst)
            with open(os.path.join(dst, 'lib', 'a.cpp'), encoding='utf-8') as f:
                self.assertEqual(f.read(), 'const char* a = "\\225\\134";\n')
            with open(os.path.join(dst, 'lib', 'data.txt'), encoding='utf-8') as f:
                self.assertEqual(f.read(), '"表"\n')
            self.assertFalse(os.path.exists(os.path.join(dst, 'build')))
            # An unchanged file is not rewritten; a deleted one disappears from the mirror.
            before = os.stat(os.path.join(dst, 'lib', 'a.cpp')).st_mtime_ns
            os.remove(os.path.join(src, 'lib', 'data.txt'))
            mirror.mirror(src, dst)
            self.assertEqual(os.stat(os.path.join(dst, 'lib', 'a.cpp')).st_mtime_ns, before)
            self.assertFalse(os.path.exists(os.path.join(dst, 'lib', 'data.txt')))


if __name__ == '__main__':
    unittest.main(verbosity=2)
