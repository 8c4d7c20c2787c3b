"""setup.exe started from its disk: the settings page, the folder question, the run with a missing
source, the failure details in the main window, the completion box, and the machine afterwards:
installed files, the folder, a shortcut, a registry value, a profile entry, the uninstall record
byte for byte, the uninstaller copy, its Uninstall entry and the program registry profile."""
import os
import shutil
import subprocess
import tempfile

import pagina_e2e
from pagina_e2e import cp932, put, reg

SETUP = os.environ.get('PAGINA_SETUP_EXE')
IDOK, IDYES = 1, 6
TITLE = 'テストソフト'
APP = 'N:\\テストソフト\\'
ENTRY = 'HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TestSoft'


def test():
    with pagina_e2e.WineSession('install') as s:
        s.check(SETUP and os.path.isfile(SETUP), f'setup.exe missing: {SETUP}')
        disk = tempfile.mkdtemp(prefix='install_disk_')
        target = tempfile.mkdtemp(prefix='install_target_')
        windows = os.path.join(s.prefix, 'drive_c', 'windows')
        try:
            shutil.copy(SETUP, os.path.join(disk, 'SETUP.EXE'))
            put(os.path.join(disk, 'APP.EXE'), b'program')
            put(os.path.join(disk, 'BOOK.TXT'), b'book')
            put(os.path.join(disk, 'SETUP.INI'), cp932([
                '[Title]', 'Setup=' + TITLE, 'UnSetupKey=TestSoft',
                '[Extend]', 'SetupSpeed=50',
                '[DefaultFolder]', 'Folder=' + APP,
                '[ProgramID]', 'ID=TESTSOFT',
                '[MakeFolder]', 'Folder1=(App)表ソ',
                '[CopyFile]', 'File1=(App)APP.EXE', 'File2=(App)表ソ\\BOOK.TXT', 'File3=(App)GONE.TXT',
                '[ShortCut]', 'Make1=(App)APP.EXE', 'Name1=(App)アプリ',
                '[Registry]', 'Key1=(Cuser)Software\\TestSoft\\', 'Name1=Path', 'Value1=(Str)(App)(Pdd)',
                '[IniFile]', 'Data1=Options,Path,(App),(App)USER.INI',
                '[DeleteRegistry]', 'Key1=(Cuser)Software\\TestSoft']))
            s.map_drive('m', disk)
            s.map_drive('n', target)
            subprocess.run(['wine', 'reg', 'add', 'HKCU\\Software\\Wine\\X11 Driver', '/v', 'Managed', '/d', 'N', '/f'],
                           env=s.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
            reg(s, 'delete', ENTRY, '/f')
            reg(s, 'delete', 'HKCU\\Software\\TestSoft', '/f')

            proc = s.start('M:\\SETUP.EXE')
            s.wait_window(title_contains=TITLE, cls='PaginaForm')
            # Without a read-me the settings page comes first.
            s.wait_text(TITLE, ['--text', 'セットアップ開始(&S)'], 'セットアップ開始(&S)')
            s.screenshot('settings-page')
            s.click(TITLE, 'セットアップ開始(&S)')
            question = s.answer_box('フォルダ作成', IDYES)
            s.check(question.startswith(APP), f'folder question said {question!r}')

            warning = s.answer_box('警告', IDYES, timeout=120)
            s.check(warning.startswith('フォルダの作成・ファイルのコピーで'), f'failure question said {warning!r}')
            s.wait_text(TITLE, ['--text', '続行(&C)'], '続行(&C)')
            s.screenshot('failure-details')
            s.click(TITLE, '続行(&C)')
            done = s.answer_box('完了', IDOK, timeout=120)
            s.check(done.startswith('セットアップが完了しました．'), f'completion said {done!r}')
            s.check(s.wait_exit(proc, timeout=120, what='setup.exe') == 0, 'setup.exe failed')

            app = os.path.join(target, 'テストソフト')
            with open(os.path.join(app, 'APP.EXE'), 'rb') as f:
                s.check(f.read() == b'program', 'APP.EXE differs')
            s.check(os.path.isfile(os.path.join(app, '表ソ', 'BOOK.TXT')), 'BOOK.TXT missing')
            s.check(os.path.isfile(os.path.join(app, 'アプリ.lnk')), f'shortcut missing: {os.listdir(app)}')
            with open(os.path.join(app, 'USER.INI'), 'rb') as f:
                s.check(f.read().decode('cp932') == '[Options]\r\nPath=' + APP + '\r\n', 'USER.INI differs')
            value = reg(s, 'query', 'HKCU\\Software\\TestSoft', '/v', 'Path')
            s.check(value.returncode == 0 and b'N:\\' in value.stdout and not value.stdout.rstrip().endswith(b'\\'),
                    f'registry value: {value.stdout!r}')
            with open(os.path.join(app, 'UNSETUP.INI'), 'rb') as f:
                record = f.read().decode('cp932')
            expected = '\r\n'.join([
                '[Information]', 'Message1=Vornik Setup 98 UnSetup(UnInstall) Initialize File',
                'Message2=！！！　警告　！！！',
                'Message3=このファイルをエディタなどで書き換えたり，削除しないでください．',
                'Message4=書き換えた場合，アンセットアップ動作の保証はできません．',
                '[Title]', 'UnSetup=' + TITLE,
                '[SetupFolder]', 'Folder=' + APP,
                '[DeleteFolder]', 'Folder1=' + APP + '表ソ\\',
                '[DeleteFile]', 'File1=' + APP + 'APP.EXE', 'File2=' + APP + '表ソ\\BOOK.TXT', 'File3=' + APP + 'UNSETUP.INI',
                '[DeleteShortCut]', 'File1=' + APP + 'アプリ.lnk',
                '[DeleteRegistry]', 'Key1=(Cuser)Software\\TestSoft',
                '[UnSetupRegistryKey]', 'Key=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TestSoft',
                '[ProgramID]', 'ID=TESTSOFT']) + '\r\n'
            s.check(record == expected, f'record reads {record!r}')
            s.check(os.path.isfile(os.path.join(windows, 'UNVOSET.EXE')), 'no uninstaller copy')
            entry = reg(s, 'query', ENTRY, '/v', 'UninstallString')
            s.check(entry.returncode == 0, f'Uninstall entry missing: {entry.stderr!r}')
            with open(os.path.join(windows, 'VOSET98.INI'), 'rb') as f:
                s.check('[TESTSOFT]\r\nFolder=' + APP in f.read().decode('cp932'), 'VOSET98.INI lacks the program')
        finally:
            shutil.rmtree(disk, ignore_errors=True)
            shutil.rmtree(target, ignore_errors=True)
            reg(s, 'delete', ENTRY, '/f')
            reg(s, 'delete', 'HKCU\\Software\\TestSoft', '/f')


if __name__ == '__main__':
    pagina_e2e.run(test)
