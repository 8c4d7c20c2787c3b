"""The real PaginaV1.exe under Wine: the first start shows the version dialog before the main
window and writes the profile; a book named on the command line opens on its cover; the page menu
turns pages; closing rewrites the profile. Screenshots of each step are kept."""
import os
import shutil
import subprocess
import time

import pagina_e2e

EXE = os.environ.get('PAGINA_VIEWER_EXE')
MAIN = 'Pagina Viewer'
VERSION = 'Pagina Viewer のﾊﾞｰｼﾞｮﾝ情報'


def make_book(folder):
    """Three JPEG pages drawn by ImageMagick and a book data file naming the first."""
    os.makedirs(folder, exist_ok=True)
    for n in (1, 2, 3):
        subprocess.run(['convert', '-size', '600x800', 'xc:#f8f4e8', '-fill', '#303030', '-pointsize', '72',
                        '-gravity', 'center', '-annotate', '+0+0', f'Page {n}', '-fill', 'none', '-stroke', '#4060a0',
                        '-strokewidth', '8', '-draw', 'rectangle 20,20 580,780',
                        os.path.join(folder, f'p00{n}.jpg')], check=True)
    cover = 'Z:' + os.path.abspath(os.path.join(folder, 'p001.jpg')).replace('/', '\\')
    lines = ['booktitle..=試しの本', 'allpage....= 3 ', 'bookcover..=' + cover]
    for slot in range(1, 11):
        key = f'markpage-{slot}.=' if slot < 10 else 'markpage-10='
        title = f'marktitle{slot}.=' if slot < 10 else 'marktitle10='
        lines += [key + ' 0 ', title]
    path = os.path.join(folder, 'book.pgd')
    with open(path, 'wb') as f:
        f.write(('\r\n'.join(lines) + '\r\n').encode('cp932'))
    return path


def menu_by_keys(s, *keys):
    """Picks a menu item whose caption has no access key: the menu's own key, then arrows."""
    found = subprocess.run(['xdotool', 'search', '--name', '^' + MAIN + '$'], env=s.env, capture_output=True,
                           text=True, timeout=30).stdout.split()
    s.check(found, 'the main window is not on the X display')
    subprocess.run(['xdotool', 'windowfocus', '--sync', found[0]], env=s.env, timeout=30)
    for key in keys:
        subprocess.run(['xdotool', 'key', '--clearmodifiers', key], env=s.env, check=True, timeout=30)
        time.sleep(0.3)
    time.sleep(1)


def test():
    with pagina_e2e.WineSession('viewer') as s:
        s.check(EXE and os.path.isfile(EXE), f'PaginaV1.exe missing: {EXE}')
        # A program folder of its own, so the first start finds no profile.
        folder = os.path.join(s.artifacts, 'program')
        os.makedirs(folder, exist_ok=True)
        for name in ('PaginaV1.exe', 'toolbar.bmp', 'PaginaV1.bmp', 'help.htm'):
            shutil.copy(os.path.join(os.path.dirname(EXE), name), folder)
        exe = os.path.join(folder, 'PaginaV1.exe')
        profile = os.path.join(folder, 'PaginaV1.ini')

        proc = s.start(exe)
        s.wait_window(title_contains=VERSION)
        s.check(not os.path.exists(profile), 'the profile was written before the version dialog closed')
        s.screenshot('version-dialog')
        s.click(VERSION, 'OK')
        s.wait_gone(title_contains=VERSION)
        s.wait_window(title_contains=MAIN)
        s.screenshot('first-start')
        with open(profile, 'rb') as f:
            first = f.read()
        s.check(first.startswith(b'checksize..= 0 \r\nstartsizeh.= 6300 \r\nstartsizew.= 6300 \r\nstartposit.= 0 \r\n'),
                f'first-run profile: {first!r}')
        s.check(first.endswith(b'gotabpage..= 5 \r\nbacktabpage= 5 \r\nautoview...= 3 \r\n'),
                f'first-run profile: {first!r}')
        s.driver('menu', '--window', MAIN, '--path', 'ファイル(&F)/終了(&X)')
        s.check(s.wait_exit(proc, timeout=60, what='PaginaV1') == 0, 'PaginaV1 failed')

        # Wine quotes an argument that holds a blank, as the shell does for an associated file.
        book = make_book(os.path.join(s.artifacts, 'my book'))
        proc = s.start(exe, s.windows_path(book))
        s.wait_window(title_contains=MAIN)
        s.wait_text(MAIN, ['--class', 'msctls_statusbar32'], '試しの本')
        s.screenshot('cover')
        menu_by_keys(s, 'alt+v', 'Return')  # the first item: next page
        s.screenshot('page-2')
        menu_by_keys(s, 'alt+v', 'Down', 'Down', 'Down', 'Down', 'Down', 'Return')  # last page
        s.screenshot('page-3')
        s.driver('menu', '--window', MAIN, '--path', 'ファイル(&F)/終了(&X)')
        s.check(s.wait_exit(proc, timeout=60, what='PaginaV1') == 0, 'PaginaV1 failed')
        with open(profile, 'rb') as f:
            s.check(f.read().startswith(b'checksize..= 0 \r\n'), 'the profile was not rewritten at exit')


if __name__ == '__main__':
    pagina_e2e.run(test)
