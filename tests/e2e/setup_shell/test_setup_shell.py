"""setup.exe as a person meets it: a distribution disk with a script, a read-me and messages; the
read-me page, the settings page, the close question and the clean-up of the work folder; a second
copy that ends at once; and an uninstall record on the command line."""
import glob
import os
import shutil
import subprocess
import tempfile
import time

import pagina_e2e
from pagina_e2e import cp932

SETUP = os.environ.get('PAGINA_SETUP_EXE')
IDYES = 6
IDNO = 7
IDOK = 1
TITLE = 'テストソフト セットアップ'
BACK_CAPTION = 'Vornik Setup 98 Standard Version2.20(Build:2463)'


def wine_x11_managed(s, value):
    key = 'HKCU\\Software\\Wine\\X11 Driver'
    command = ['wine', 'reg', 'add', key, '/v', 'Managed', '/d', value, '/f'] if value else \
        ['wine', 'reg', 'delete', key, '/v', 'Managed', '/f']
    subprocess.run(command, env=s.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def work_folders(prefix):
    return sorted(glob.glob(os.path.join(prefix, 'drive_c', 'users', '*', '**', 'VSTMP*'), recursive=True) +
                  glob.glob(os.path.join(prefix, 'drive_c', 'windows', 'temp', 'VSTMP*')))


def make_disk(folder):
    os.makedirs(folder, exist_ok=True)
    shutil.copy(SETUP, os.path.join(folder, 'SETUP.EXE'))
    with open(os.path.join(folder, 'SETUP.INI'), 'wb') as f:
        f.write(cp932(['[Title]', 'Setup=' + TITLE, '[DefaultFolder]', 'Folder=(Prg)\\テストソフト',
                       '[TopMessage]', 'Message1=テストソフトをインストールします．',
                       'Message2=表示・ソフト・能力・予定の確認です．', '[Readme]', 'File=README.TXT',
                       'Title=お読みください', '[ShortCut]', 'Name1=(Sta)\\テストソフト\\テスト']))
    with open(os.path.join(folder, 'README.TXT'), 'wb') as f:
        f.write(cp932(['テストソフト　お読みください', '', '１．これは読み込みテストの文書です．',
                       '２．表示・ソフト・能力・予定']))


def wait_button_enabled(s, window, timeout=90):
    """Waits until the window's only button is enabled and visible. Its caption may read empty:
    a window whose program is sleeping does not answer for its texts in time."""
    deadline = time.monotonic() + timeout
    listing = ''
    while time.monotonic() < deadline:
        listing = s.driver('list-controls', '--window', window, check=False)
        for line in listing.splitlines():
            parts = line.split('\t')
            if len(parts) >= 2 and parts[1] == 'Button' and '(disabled)' not in parts[3:] and '(hidden)' not in parts[3:]:
                return
        time.sleep(0.3)
    s.fail(f'the button of "{window}" did not become usable within {timeout} s: {listing!r}')


def abort_run(s, disk):
    """The progress window's abort: No goes on, Yes ends the program without recording anything.
    The run sleeps between folders without letting messages run, so every look at its windows
    waits for the next pause to end: the pauses are long enough for the clicks to land in time."""
    title = '中断テスト'
    with open(os.path.join(disk, 'SETUP.INI'), 'wb') as f:
        f.write(cp932(['[Title]', 'Setup=' + title, '[Extend]', 'SetupSpeed=5000', '[DefaultFolder]',
                       'Folder=C:\\中断テスト', '[MakeFolder]'] +
                      [f'Folder{n}=(App)フォルダ{n}' for n in range(1, 17)]))
    target = os.path.join(s.prefix, 'drive_c', '中断テスト')
    shutil.rmtree(target, ignore_errors=True)
    proc = s.start('D:\\SETUP.EXE')
    s.wait_window(title_contains=title, cls='PaginaForm')
    s.click(title, 'セットアップ開始(&S)')
    s.answer_box('フォルダ作成', IDYES)
    s.wait_window(title_contains='進行状況', cls='PaginaForm')
    wait_button_enabled(s, '進行状況')
    s.screenshot('progress-window')
    s.driver('click', '--window', '進行状況', '--class', 'Button', '--timeout', '150', timeout=200)
    question = s.answer_box('中断の確認', IDNO, timeout=90)
    s.check(question.startswith('ここでセットアップを中断すると'), f'abort question said {question!r}')
    wait_button_enabled(s, '進行状況')
    s.driver('click', '--window', '進行状況', '--class', 'Button', '--timeout', '150', timeout=200)
    s.answer_box('中断の確認', IDYES, timeout=90)
    told = s.answer_box('中断', IDOK, timeout=90)
    s.check(told == 'セットアップを中断しました．', f'abort message said {told!r}')
    s.check(s.wait_exit(proc, timeout=60, what='setup.exe after the abort') == 0, 'setup.exe failed after the abort')
    s.check(os.path.isdir(os.path.join(target, 'フォルダ1')), 'the first folder was not made before the abort')
    s.check(not os.path.isdir(os.path.join(target, 'フォルダ16')), 'the run went on to the last folder')
    s.check(not os.path.exists(os.path.join(target, 'UNSETUP.INI')), 'an aborted run wrote its record')
    s.check(work_folders(s.prefix) == [], f'work folders left: {work_folders(s.prefix)}')
    shutil.rmtree(target, ignore_errors=True)


def test():
    with pagina_e2e.WineSession('setup_shell') as s:
        s.check(SETUP and os.path.isfile(SETUP), f'setup.exe missing: {SETUP}')
        disk = tempfile.mkdtemp(prefix='setup_disk_')
        try:
            make_disk(disk)
            s.map_drive('d', disk)
            # Xvfb has no window manager; Wine then places and maximises windows itself, as Windows does.
            # The setting is taken back at the end so that other tests of the prefix see it as before.
            wine_x11_managed(s, 'N')
            for old in work_folders(s.prefix):
                shutil.rmtree(old, ignore_errors=True)

            proc = s.start('D:\\SETUP.EXE')
            s.wait_window(title_contains=BACK_CAPTION)
            s.wait_window(title_contains=TITLE, cls='PaginaForm')
            s.wait_text(TITLE, ['--text', 'セットアップ続行(&C)'], 'セットアップ続行(&C)')
            s.check(len(work_folders(s.prefix)) == 1, f'work folder: {work_folders(s.prefix)}')
            s.screenshot('readme-page')

            # The guard: a second copy ends at once, with no window of its own.
            second = s.start('D:\\SETUP.EXE')
            s.check(s.wait_exit(second, timeout=60, what='the second setup.exe') == 0, 'second copy failed')
            s.check(len(work_folders(s.prefix)) == 1, 'the second copy made a work folder')

            s.click(TITLE, 'セットアップ続行(&C)')
            s.wait_text(TITLE, ['--text', 'セットアップ開始(&S)'], 'セットアップ開始(&S)')
            # The read-me text is the first edit window, the folder box the second.
            folder = s.get_text(TITLE, '--class', 'Edit', '--index', '1')
            s.check(folder.endswith('\\テストソフト\\'), f'folder text {folder!r}')
            s.screenshot('settings-page')

            s.click(TITLE, 'セットアップ終了(&E)')
            message = s.answer_box('終了確認', IDNO)
            s.check(message.replace('\r\n', '\r') ==
                    'セットアップ・アンセットアップは終了していません．\r終了してもよろしいですか？' or
                    message.startswith('セットアップ・アンセットアップは終了していません．'),
                    f'close question said {message!r}')
            s.wait_window(title_contains=TITLE, cls='PaginaForm')
            s.click(TITLE, 'セットアップ終了(&E)')
            s.answer_box('終了確認', IDYES)
            s.check(s.wait_exit(proc, timeout=60, what='setup.exe') == 0, 'setup.exe failed')
            s.check(work_folders(s.prefix) == [], f'work folders left: {work_folders(s.prefix)}')

            # An uninstall record on the command line, its path with a blank, quoted.
            record_dir = os.path.join(disk, 'テスト ソフト')
            os.makedirs(record_dir)
            with open(os.path.join(record_dir, 'UNSETUP.INI'), 'wb') as f:
                f.write(cp932(['[Title]', 'Setup=' + TITLE, 'UnSetup=テストソフト 削除', '[SetupFolder]',
                               'Folder=C:\\Program Files\\テストソフト\\', '[UnSetupOption]', 'CheckBox=1,0,1,1']))
            proc = s.start('D:\\SETUP.EXE', 'D:\\テスト ソフト\\UNSETUP.INI')
            s.wait_window(title_contains='テストソフト 削除', cls='PaginaForm')
            s.wait_text('テストソフト 削除', ['--text', 'アンセットアップ開始(&S)'], 'アンセットアップ開始(&S)')
            s.screenshot('uninstall-page')
            s.click('テストソフト 削除', 'アンセットアップ終了(&E)')
            s.answer_box('終了確認', IDYES)
            s.check(s.wait_exit(proc, timeout=60, what='setup.exe (uninstall)') == 0, 'uninstall start failed')
            s.check(work_folders(s.prefix) == [], f'work folders left: {work_folders(s.prefix)}')

            abort_run(s, disk)
        finally:
            wine_x11_managed(s, None)
            shutil.rmtree(disk, ignore_errors=True)


if __name__ == '__main__':
    pagina_e2e.run(test)
