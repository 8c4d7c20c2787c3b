"""setup.exe as a person meets it: a distribution disk with a script, a read-me and messages; the
read-me page, the settings page, the close question and the clean-up of the work folder; a second
copy that ends at once; and an uninstall record on the command line."""
import glob
import os
import shutil
import subprocess
import tempfile

import pagina_e2e

SETUP = os.environ.get('PAGINA_SETUP_EXE')
IDYES = 6
IDNO = 7
TITLE = 'テストソフト セットアップ'
BACK_CAPTION = 'Vornik Setup 98 Standard Version2.20(Build:2463)'


def cp932(lines):
    return ('\r\n'.join(lines) + '\r\n').encode('cp932')


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


def test():
    with pagina_e2e.WineSession('setup_shell') as s:
        s.check(SETUP and os.path.isfile(SETUP), f'setup.exe missing: {SETUP}')
        disk = tempfile.mkdtemp(prefix='setup_disk_')
        try:
            make_disk(disk)
            s.map_drive('d', disk)
            # Xvfb has no window manager; Wine then places and maximises windows itself, as Windows does.
            subprocess.run(['wine', 'reg', 'add', 'HKCU\\Software\\Wine\\X11 Driver', '/v', 'Managed', '/d', 'N', '/f'],
                           env=s.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
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
        finally:
            shutil.rmtree(disk, ignore_errors=True)


if __name__ == '__main__':
    pagina_e2e.run(test)
