"""What the installer executable's resources must hold."""

RLM = "\u200f"  # right-to-left mark, around the Latin runs in the Arabic texts

LANGUAGES = {
    0x0401: "ar-SA", 0x0404: "zh-TW", 0x0407: "de-DE", 0x0409: "en-US", 0x040C: "fr-FR",
    0x0410: "it-IT", 0x0411: "ja-JP", 0x0412: "ko-KR", 0x0415: "pl-PL", 0x0416: "pt-BR",
    0x0419: "ru-RU", 0x0421: "id-ID", 0x0804: "zh-CN", 0x0816: "pt-PT", 0x0C0A: "es-ES",
}
KOREAN = 0x0412
ENGLISH_US = 0x0409
ARABIC = 0x0401
CHINESE_SIMPLIFIED = 0x0804

# Every string of every language, code point for code point ("\n" is a line feed).
STRINGS = {
    0x0401: {  # ar-SA
        140: "مسؤول تثبيت \u200fKestrix Office\u200f",
        141: "الاتصال بالإنترنت لتنزيل ملفات التثبيت.",
        142: "تعذر الاتصال بالإنترنت. ",
        143: "تأكد أن الكمبيوتر الخاص بك متصلاً بالإنترنت وأن جدار الحماية يسمح بالوصول إلى \u200fKestrixOfficeInstaller.exe\u200f ثم حاول مرة أخرى.",
        144: "فشل تنزيل \u200fKestrix Office\u200f.",
        145: "جاري تنزيل \u200fKestrix Office\u200f...",
        146: "\u200f<A HREF=%s>عرض المساعدة</A>\u200f",
        147: "إغلاق",
        148: "إعادة المحاولة",
        150: "تأكيد إلغاء التثبيت",
        151: "لم يكتمل تثبيت \u200fKestrix Office\u200f.\nهل تريد إلغاء التثبيت؟",
    },
    0x0404: {  # zh-TW
        140: "Kestrix Office安裝管理員",
        141: "連接至網路以下載安裝檔案。",
        142: "無法連接至網際網路。",
        143: "請確認您的電腦已連接至網際網路且防火牆允許存取KestrixOfficeInstaller.exe，然後重試。",
        144: "無法下載Kestrix Office。",
        145: "正在下載Kestrix Office…",
        146: "<A HREF=%s>檢視說明</A>",
        147: "關閉",
        148: "重試",
        150: "確認安裝取消",
        151: "Kestrix Office安裝尚未完成。\n要取消安裝嗎？",
    },
    0x0407: {  # de-DE
        140: "Installationsadministrator für Kestrix Office",
        141: "Die Internetverbindung wird zum Herunterladen der Installationsdateien hergestellt.",
        142: "Die Internetverbindung kann nicht hergestellt werden.",
        143: "Überprüfen Sie, ob Ihr Computer mit dem Internet verbunden ist und die Firewall den Zugriff auf KestrixOfficeInstaller.exe zulässt. Versuchen Sie es dann erneut.",
        144: "Kestrix Office konnte nicht heruntergeladen werden.",
        145: "Kestrix Office wird heruntergeladen...",
        146: "<A HREF=%s>Hilfe anzeigen</A>",
        147: "Schließen",
        148: "Erneut versuchen",
        150: "Installationsabbruch bestätigen",
        151: "Die Installation von Kestrix Office ist noch nicht abgeschlossen.\nMöchten Sie die Installation abbrechen?",
    },
    0x0409: {  # en-US
        140: "Kestrix Office Installation Administrator",
        141: "Connecting to the Internet to download the installation files.",
        142: "Cannot connect to the Internet.",
        143: "Check if your computer is connected to the Internet and the firewall allows access to KestrixOfficeInstaller.exe, and then try again.",
        144: "Failed to download Kestrix Office.",
        145: "Downloading Kestrix Office...",
        146: "<A HREF=%s>View Help</A>",
        147: "Close",
        148: "Retry",
        150: "Confirm Installation Cancellation",
        151: "Installation of Kestrix Office is not complete yet.\nDo you want to cancel the installation?",
    },
    0x040C: {  # fr-FR
        140: "Administrateur d'installation Kestrix Office",
        141: "Connexion à Internet pour télécharger les fichiers d'installation.",
        142: "Impossible de se connecter à Internet.",
        143: "Vérifiez si votre ordinateur est connecté à Internet et si le pare-feu autorise l'accès à KestrixOfficeInstaller.exe, puis réessayez.",
        144: "Échec de téléchargement de Kestrix Office.",
        145: "Téléchargement de Kestrix Office...",
        146: "<A HREF=%s>Afficher l'Aide</A>",
        147: "Fermer",
        148: "Réessayer",
        150: "Confirmer l'annulation de l'installation",
        151: "L'installation de Kestrix Office n'est pas encore terminée.\nVoulez-vous l'annuler ?",
    },
    0x0410: {  # it-IT
        140: "Amministratore installazione Kestrix Office",
        141: "Connessione a Internet in corso per scaricare i file di installazione.",
        142: "Impossibile connettersi a Internet.",
        143: "Assicurarsi che il computer sia connesso a Internet e che il firewall consenta l'accesso a KestrixOfficeInstaller.exe, quindi riprovare.",
        144: "Impossibile scaricare Kestrix Office.",
        145: "Download di Kestrix Office in corso...",
        146: "<A HREF=%s>Visualizza guida</A>",
        147: "Chiudi",
        148: "Riprova",
        150: "Conferma annullamento installazione",
        151: "L'installazione di Kestrix Office non è stata ancora completata.\nAnnullare l'installazione?",
    },
    0x0411: {  # ja-JP
        140: "Kestrix Officeインストールアドミニストレータ",
        141: "インターネットに接続し、インストールファイルをダウンロードします。",
        142: "インターネットに接続できません。",
        143: "コンピュータがインターネットに接続され、ファイアウォールがKestrixOfficeInstaller.exeへのアクセスを許可しているかを確認し、再度試行してください。",
        144: "Kestrix Officeをダウンロードできません。",
        145: "Kestrix Officeをダウンロード中です…",
        146: "<A HREF=%s>ヘルプを見る</A>",
        147: "閉じる",
        148: "再試行",
        150: "インストールのキャンセルを確認",
        151: "Kestrix Officeのインストールはまだ完了していません。\nインストールをキャンセルしますか？",
    },
    0x0412: {  # ko-KR
        140: "Kestrix Office 설치 관리자",
        141: "설치 파일을 다운로드하기 위해 인터넷에 연결하는 중입니다.",
        142: "인터넷에 연결할 수 없습니다.",
        143: "컴퓨터가 인터넷에 연결되어 있고 방화벽에서 KestrixOfficeInstaller.exe의 연결을 허용하는지 확인하신 후, 다시 시도해 주세요.",
        144: "Kestrix Office 다운로드에 실패했습니다.",
        145: "Kestrix Office 다운로드 중입니다…",
        146: "<A HREF=%s>도움말 보기</A>",
        147: "닫기",
        148: "다시 시도",
        150: "설치 취소 확인",
        151: "Kestrix Office 설치가 완료되지 않았습니다.\n설치를 취소하시겠습니까?",
    },
    0x0415: {  # pl-PL
        140: "Administrator instalacji Kestrix Office",
        141: "Łączenie z Internetem w celu pobrania plików instalacyjnych.",
        142: "Nie można połączyć z Internetem.",
        143: "Sprawdź, czy komputer jest połączony z Internetem oraz czy zapora firewall pozwala na dostęp do KestrixOfficeInstaller.exe i spróbuj ponownie.",
        144: "Pobieranie Kestrix Office nie powiodło się.",
        145: "Pobieranie Kestrix Office...",
        146: "<A HREF=%s>Pokaż Pomoc</A>",
        147: "Zamknij",
        148: "Ponów próbę",
        150: "Potwierdź anulowanie instalacji",
        151: "Instalacja Kestrix Office nie została zakończona.\nCzy chcesz anulować instalację?",
    },
    0x0416: {  # pt-BR
        140: "Administrador de instalação do Kestrix Office",
        141: "Conectando à Internet para baixar os arquivos de instalação.",
        142: "Não é possível conectar à Internet.",
        143: "Verifique se seu computador está conectado à Internet e se as regras de firewall permitem acesso ao KestrixOfficeInstaller.exe e, em seguida, tente novamente.",
        144: "Falha ao baixar o Kestrix Office.",
        145: "Baixando o Kestrix Office...",
        146: "<A HREF=%s>Exibir Ajuda</A>",
        147: "Fechar",
        148: "Repetir",
        150: "Confirmar cancelamento da instalação",
        151: "A instalação do Kestrix Office ainda não está concluída.\nDeseja cancelar a instalação?",
    },
    0x0419: {  # ru-RU
        140: "Администратор установки Kestrix Office",
        141: "Подключение к Интернету для загрузки файлов установки.",
        142: "Невозможно подключиться к Интернету.",
        143: "Проверьте подключение компьютера к Интернету и разрешите доступ брандмауэра к файлу KestrixOfficeInstaller.exe, а затем повторите попытку.",
        144: "Сбой загрузки Kestrix Office.",
        145: "Загрузка Kestrix Office...",
        146: "<A HREF=%s>Просмотр справки</A>",
        147: "Закрыть",
        148: "Повторить",
        150: "Подтверждение отмены установки",
        151: "Установка Kestrix Office не завершена.\nОтменить установку?",
    },
    0x0421: {  # id-ID
        140: "Administrator Instalasi Kestrix Office",
        141: "Menghubungkan ke Internet untuk mengunduh file instalasi.",
        142: "Tidak dapat terhubung ke Internet.",
        143: "Periksa apakah komputer Anda terhubung ke Internet dan firewall mengizinkan akses ke KestrixOfficeInstaller.exe, lalu coba lagi.",
        144: "Gagal mengunduh Kestrix Office.",
        145: "Mengunduh Kestrix Office...",
        146: "<A HREF=%s>Lihat Bantuan</A>",
        147: "Tutup",
        148: "Coba Lagi",
        150: "Konfirmasi Pembatalan Instalasi",
        151: "Instalasi Kestrix Office belum selesai.\nAnda ingin membatalkan instalasi?",
    },
    0x0804: {  # zh-CN
        140: "Kestrix Office安装程序",
        141: "正在连接互联网以下载安装文件。",
        142: "无法连接到互联网。",
        143: "检查电脑是否连接到互联网以及防火墙是否允许访问KestrixOfficeInstaller.exe，然后重试。",
        144: "Kestrix Office下载失败。",
        145: "正在下载Kestrix Office…",
        146: "<A HREF=%s>查看帮助</A>",
        147: "关闭",
        148: "重试",
        150: "确认取消安装",
        151: "Kestrix Office尚未完成安装。\n要取消安装吗？",
        152: "青岚Office安装程序",
        153: "青岚Office下载失败。",
        154: "正在下载青岚Office…",
        155: "青岚Office尚未完成安装。\n要取消安装吗？",
        156: "检查电脑是否连接到互联网以及防火墙是否允许访问KestrixOfficeInstaller_CN.exe，然后重试。",
    },
    0x0816: {  # pt-PT
        140: "Administrador de Instalação do Kestrix Office",
        141: "A ligar à Internet para transferir os ficheiros de instalação.",
        142: "Não é possível estabelecer uma ligação à Internet.",
        143: "Verifique se o computador está ligado à Internet, se a firewall permite aceder ao KestrixOfficeInstaller.exe e tente novamente.",
        144: "Falha ao transferir o Kestrix Office.",
        145: "A transferir o Kestrix Office...",
        146: "<A HREF=%s>Ver Ajuda</A>",
        147: "Fechar",
        148: "Tentar novamente",
        150: "Confirmar cancelamento da instalação",
        151: "A instalação do Kestrix Office ainda não está concluída.\nPretende cancelar a instalação?",
    },
    0x0C0A: {  # es-ES
        140: "Administrador de instalación de Kestrix Office",
        141: "Conectándose a Internet para descargar los archivos de instalación.",
        142: "No puede conectarse a Internet.",
        143: "Compruebe si su ordenador está conectado a Internet y si el firewall permite acceder a KestrixOfficeInstaller.exe y, a continuación, inténtelo de nuevo.",
        144: "Error al descargar Kestrix Office.",
        145: "Descargando Kestrix Office...",
        146: "<A HREF=%s>Ver Ayuda</A>",
        147: "Cerrar",
        148: "Volver a intentar",
        150: "Confirmar cancelación de la instalación",
        151: "La instalación de Kestrix Office aún no se ha completado.\n¿Desea cancelar la instalación?",
    },
}

# Dialog template 102.
WS_POPUP, WS_VISIBLE, WS_CAPTION, WS_SYSMENU = 0x80000000, 0x10000000, 0x00C00000, 0x00080000
DS_MODALFRAME, DS_SETFONT, DS_FIXEDSYS = 0x80, 0x40, 0x08
WS_EX_APPWINDOW, WS_EX_LAYOUTRTL = 0x00040000, 0x00400000

DIALOG_STYLE = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
assert DIALOG_STYLE | DS_FIXEDSYS == 0x90C800C8

# id, class, style, standard rectangle, Korean rectangle; in template order.
CONTROLS = [
    (1004, "STATIC", 0x5000020E, (0, 0, 395, 177), (0, 0, 395, 209)),
    (1000, "STATIC", 0x50020000, (17, 194, 290, 10), (17, 229, 290, 16)),
    (1001, "STATIC", 0x40020000, (17, 204, 290, 20), (17, 241, 290, 32)),
    (1, "BUTTON", 0x40010001, (209, 54, 50, 14), (209, 54, 50, 16)),
    (2, "BUTTON", 0x40010000, (172, 235, 50, 14), (172, 280, 50, 16)),
    (4, "BUTTON", 0x40010000, (340, 235, 50, 14), (340, 280, 50, 16)),
    (1002, "SysLink", 0x40010000, (17, 239, 45, 10), (17, 282, 45, 16)),
    (1003, "msctls_progress32", 0x50000001, (0, 177, 395, 3), (0, 209, 395, 3)),
]


def dialog(language):
    """The template expected in one language, in the shape decode_dialog_ex returns."""
    korean = language == KOREAN
    ex_style = WS_EX_APPWINDOW | (WS_EX_LAYOUTRTL if language == ARABIC else 0)
    face = {KOREAN: "\uad74\ub9bc", CHINESE_SIMPLIFIED: "SimSun"}.get(language, "Tahoma")
    return {
        "help_id": 0,
        "ex_style": ex_style,
        "style": DIALOG_STYLE if korean else DIALOG_STYLE | DS_FIXEDSYS,
        "rect": (0, 0, 395, 303 if korean else 257),
        "menu": "",
        "class": "",
        "title": "",
        "font": {"size": 9, "weight": 0, "italic": 0, "charset": 1, "face": face},
        "controls": [
            {"help_id": 0, "ex_style": 0, "style": style, "rect": korean_rect if korean else rect,
             "id": control_id, "class": window_class, "title": "", "creation_data": b""}
            for control_id, window_class, style, rect, korean_rect in CONTROLS
        ],
    }


# Version block.
VERSION_LANGUAGES = {0x0409: "040904b0", 0x0412: "041204B0"}
FIXED_FILE_INFO = {
    "signature": 0xFEEF04BD,
    "file_version": (0x00080001, 0x000D6A4C),
    "product_version": (0x00080001, 0x000D6A4C),
    "flags_mask": 0x3F,
    "flags": 0,
    "os": 0x00040004,  # VOS_NT_WINDOWS32
    "type": 1,  # VFT_APP
    "subtype": 0,
}
VERSION_STRINGS = {
    "CompanyName": "Kestrix Software Ltd.",
    "FileDescription": "Kestrix Office Installer",
    "FileVersion": "8, 1, 13, 27212",
    "InternalName": "KestrixOfficeInstaller.exe",
    "LegalCopyright": "Copyright (C) 2013 Kestrix Software Ltd. All rights reserved.",
    "OriginalFilename": "KestrixOfficeInstaller.exe",
    "ProductName": "Kestrix Office",
    "ProductVersion": "8, 1, 13, 27212",
}

# Icon group 128: square sizes; 256 is stored as PNG, the others as 32-bit DIBs.
ICON_GROUP = 128
ICON_SIZES = [256, 128, 96, 64, 48, 40, 32, 24, 16]

BANNER = ("PNG", 110)
BANNER_SIZE = (700, 314)
