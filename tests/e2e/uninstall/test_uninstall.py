"""The uninstaller copy UNVOSET.EXE started as the system's program list starts it, with the record
path in quotes: the uninstall page, the four-way dialog answered "すべて削除(&D)", the completion box,
and a machine without the program afterwards (files, folders, the Uninstall entry, the program's
section of VOSET98.INI), while the shared register of another program and other sections stay."""
import os
import shutil
import subprocess
import tempfile

import pagina_e2e
from pagina_e2e import cp932, put, reg

SETUP = os.environ.get('PAGINA_SETUP_EXE')
IDOK = 1
IDYES = 6
TITLE = 'テストソフト'
APP = 'E:\\テストソフト\\'
ENTRY = 'HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TestSoft'
SHARED_KEY = 'HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs'


def test():
    with pagina_e2e.WineSession('uninstall') as s:
        s.check(SETUP and os.path.isfile(SETUP), f'setup.exe missing: {SETUP}')
        drive = tempfile.mkdtemp(prefix='uninstall_drive_')
        windows = os.path.join(s.prefix, 'drive_c', 'windows')
        voset = os.path.join(windows, 'VOSET98.INI')
        try:
            s.map_drive('e', drive)
            subprocess.run(['wine', 'reg', 'add', 'HKCU\\Software\\Wine\\X11 Driver', '/v', 'Managed', '/d', 'N', '/f'],
                           env=s.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
            # What an install of TestSoft left behind.
            app = os.path.join(drive, 'テストソフト')
            put(os.path.join(app, 'APP.EXE'), b'program')
            put(os.path.join(app, 'Data', 'BOOK.TXT'), b'book')
            put(os.path.join(app, 'USER.INI'), b'[View]\r\n')
            put(os.path.join(drive, 'Shared', 'SHARED.DAT'), b'shared once')
            put(os.path.join(drive, 'Shared', 'OTHER.DAT'), b'shared by others')
            put(os.path.join(app, 'UNSETUP.INI'), cp932([
                '[Title]', 'UnSetup=' + TITLE,
                '[SetupFolder]', 'Folder=' + APP,
                '[DeleteFolder]', 'Folder1=' + APP + 'Data\\',
                '[DeleteFile]', 'File1=' + APP + 'APP.EXE', 'File2=' + APP + 'Data\\BOOK.TXT',
                'File3=E:\\Shared\\SHARED.DAT,/S', 'File4=E:\\Shared\\OTHER.DAT', 'File5=' + APP + 'UNSETUP.INI',
                '[UnSetupOption]', 'CheckBox=1,0,0,0',
                '[UnSetupRegistryKey]', 'Key=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TestSoft',
                '[ProgramID]', 'ID=TESTSOFT']))
            put(voset, cp932(['[OTHER]', 'Folder=C:\\Other\\', '[TESTSOFT]', 'Folder=' + APP]))
            shutil.copy(SETUP, os.path.join(windows, 'UNVOSET.EXE'))
            s.check(reg(s, 'add', ENTRY, '/v', 'DisplayName', '/d', 'TestSoft', '/f').returncode == 0, 'reg add entry')
            for name, count in (('E:\\Shared\\SHARED.DAT', '1'), ('E:\\Shared\\OTHER.DAT', '2')):
                s.check(reg(s, 'add', SHARED_KEY, '/v', name, '/t', 'REG_DWORD', '/d', count, '/f').returncode == 0,
                        'reg add shared count')

            proc = s.start('C:\\windows\\UNVOSET.EXE', APP + 'UNSETUP.INI')
            s.wait_window(title_contains=TITLE, cls='PaginaForm')
            s.wait_text(TITLE, ['--text', 'アンセットアップ開始(&S)'], 'アンセットアップ開始(&S)')
            folder = s.get_text(TITLE, '--class', 'Edit', '--index', '1')
            s.check(folder == APP, f'folder box shows {folder!r}')
            s.screenshot('uninstall-page')
            s.click(TITLE, 'アンセットアップ開始(&S)')

            s.wait_window(title_contains='ファイル削除の確認')
            s.screenshot('four-way-dialog')
            s.click('ファイル削除の確認', 'すべて削除(&D)')
            message = s.answer_box('完了', IDOK)
            s.check(message == 'アンセットアップを完了しました．', f'completion said {message!r}')
            s.check(s.wait_exit(proc, timeout=120, what='UNVOSET.EXE') == 0, 'the uninstaller failed')

            s.check(not os.path.exists(app), f'setup folder left: {os.listdir(app) if os.path.isdir(app) else app}')
            s.check(not os.path.exists(os.path.join(drive, 'Shared', 'SHARED.DAT')), 'the shared file stayed')
            s.check(os.path.exists(os.path.join(drive, 'Shared', 'OTHER.DAT')), "another program's file went")
            s.check(reg(s, 'query', ENTRY).returncode != 0, 'the Uninstall entry stayed')
            other = reg(s, 'query', SHARED_KEY, '/v', 'E:\\Shared\\OTHER.DAT')
            s.check(other.returncode == 0 and b'0x2' in other.stdout, f'count of the other file: {other.stdout!r}')
            with open(voset, 'rb') as f:
                profile = f.read().decode('cp932')
            s.check('TESTSOFT' not in profile and '[OTHER]' in profile, f'VOSET98.INI reads {profile!r}')
            s.check(os.path.exists(os.path.join(windows, 'UNVOSET.EXE')), 'the uninstaller copy went')

            # A file of the user's stays in the setup folder: the summary question, the details
            # in the main window, and "続行(&C)" to go on to the completion.
            kept = os.path.join(drive, 'テストソフト２')
            put(os.path.join(kept, 'APP.EXE'), b'program')
            put(os.path.join(kept, 'MEMO.TXT'), b'the user\'s own')
            put(os.path.join(kept, 'UNSETUP.INI'), cp932([
                '[Title]', 'UnSetup=' + TITLE + '２',
                '[SetupFolder]', 'Folder=E:\\テストソフト２\\',
                '[DeleteFile]', 'File1=E:\\テストソフト２\\APP.EXE', 'File2=E:\\テストソフト２\\UNSETUP.INI']))
            proc = s.start('C:\\windows\\UNVOSET.EXE', 'E:\\テストソフト２\\UNSETUP.INI')
            s.wait_window(title_contains=TITLE + '２', cls='PaginaForm')
            s.wait_text(TITLE + '２', ['--text', 'アンセットアップ開始(&S)'], 'アンセットアップ開始(&S)')
            s.click(TITLE + '２', 'アンセットアップ開始(&S)')
            question = s.answer_box('警告', IDYES)
            s.check(question.replace('\r\n', '\r').startswith('アンセットアップ(アンインストール)の過程で，一部の処理が失敗しました．'),
                    f'summary asked {question!r}')
            s.wait_text(TITLE + '２', ['--text', '続行(&C)'], '続行(&C)', timeout=60)
            details = s.get_text(TITLE + '２', '--class', 'Edit', '--index', '0')
            s.check(details.startswith('<SetupFolder> E:\\テストソフト２\\') and 'フォルダにファイルが残っているため' in details,
                    f'details read {details!r}')
            s.screenshot('failure-details')
            s.click(TITLE + '２', '続行(&C)')
            message = s.answer_box('完了', IDOK)
            s.check(message == 'アンセットアップを完了しました．', f'completion said {message!r}')
            s.check(s.wait_exit(proc, timeout=120, what='UNVOSET.EXE (details)') == 0, 'the uninstaller failed')
            s.check(os.path.exists(os.path.join(kept, 'MEMO.TXT')), "the user's file went")
            s.check(not os.path.exists(os.path.join(kept, 'APP.EXE')), 'the recorded file stayed')
        finally:
            shutil.rmtree(drive, ignore_errors=True)
            reg(s, 'delete', SHARED_KEY, '/v', 'E:\\Shared\\OTHER.DAT', '/f')


if __name__ == '__main__':
    pagina_e2e.run(test)
