"""Proves the harness and windriver on a small window of our own: find it, read and set texts,
press a button, answer the message box it opens, run menu items, read the version resource, and
keep screenshots."""
import os

import pagina_e2e

DEMO = os.environ.get('PAGINA_DEMO_APP')
WINDOW = 'ハーネス確認'
IDYES = 6


def test():
    with pagina_e2e.WineSession('harness_demo') as s:
        s.check(DEMO and os.path.isfile(DEMO), f'demo program missing: {DEMO}')

        info = dict(line.split('=', 1) for line in s.driver('version-info', '--file', s.windows_path(DEMO)).splitlines())
        expected = {
            'Fixed': '1.2.3.4',
            'Translation': '0x0411,932',
            'FileVersion': '1.2.3.4',
            'FileDescription': 'ハーネス確認用プログラム',
            'ProductName': 'Pagina ハーネス',
            'OriginalFilename': 'demo_app.exe',
        }
        for key, value in expected.items():
            s.check(info.get(key) == value, f'version resource {key}: {info.get(key)!r}, expected {value!r}')

        proc = s.start(DEMO)
        found = s.wait_window(cls='PaginaHarnessDemo', title_contains=WINDOW)
        s.check(found.rstrip('\n').endswith('\tPaginaHarnessDemo\t' + WINDOW), f'wait-window printed {found!r}')
        s.check(s.get_text(WINDOW, '--control-id', '101') == 'まだ押されていません', 'label not in its start state')
        s.screenshot('started')

        # The caption may be given with or without its mnemonic marker.
        s.click(WINDOW, '押してください(P)')
        s.wait_window(cls='#32770', title_contains='確認')
        s.screenshot('question')
        message = s.answer_box('確認', IDYES)
        s.check(message == 'ボタンが押されました。続けますか？', f'message box said {message!r}')
        s.wait_gone(cls='#32770', title_contains='確認')
        s.wait_text(WINDOW, ['--control-id', '101'], '答え：はい')

        s.driver('set-text', '--window', WINDOW, '--class', 'Edit', '--value', '日本語の入力「表ソ能予」')
        s.driver('menu', '--window', WINDOW, '--path', 'ファイル(&F)/表示(&S)')
        s.wait_text(WINDOW, ['--class', 'Static', '--index', '0'], '日本語の入力「表ソ能予」')
        s.screenshot('after-menu')

        # Failures are reported, not hidden: a missing window and a missing menu item.
        s.driver('wait-window', '--class', 'NoSuchClass', '--timeout', '1', check=False)
        s.check(s.last_driver[0] == 1 and 'NoSuchClass' in s.last_driver[2],
                f'missing window not reported: {s.last_driver}')
        s.driver('menu', '--window', WINDOW, '--path', 'ファイル(&F)/存在しない', check=False)
        s.check(s.last_driver[0] == 1 and '存在しない' in s.last_driver[2],
                f'missing menu item not reported: {s.last_driver}')

        s.driver('menu', '--window', WINDOW, '--path', 'ファイル(&F)/終了(&X)')
        s.wait_gone(cls='PaginaHarnessDemo')
        s.check(s.wait_exit(proc, timeout=60, what='the demo program') == 0, 'the demo program failed')


if __name__ == '__main__':
    pagina_e2e.run(test)
