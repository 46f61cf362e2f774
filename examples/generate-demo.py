#!/usr/bin/env python3
"""Writes the demo database examples/demo/sales.nsf: a small sales and support database in DXL.

Customers, orders and support tickets with their responses, in several languages; categorised,
cascading and hidden views, folders, rich text and file attachments. The output is deterministic (a
fixed pseudo-random sequence), so re-running the script reproduces the committed file byte for byte.

    python3 examples/generate-demo.py            # rewrites examples/demo/sales.nsf
"""

import base64
import os
import struct
import sys
import zlib
from xml.sax.saxutils import escape, quoteattr

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "demo", "sales.nsf")


class Sequence:
    """A fixed linear congruential sequence (the same on every Python)."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        return self.state >> 33

    def below(self, n):
        return self.next() % n

    def pick(self, items):
        return items[self.below(len(items))]


RNG = Sequence(20240611)

COUNTRIES = [
    # country, region, language, cities
    ("Germany", "Europe", "German", ["Berlin", "München", "Köln", "Düsseldorf"]),
    ("France", "Europe", "French", ["Paris", "Lyon", "Besançon"]),
    ("Japan", "Asia", "Japanese", ["東京", "大阪", "札幌"]),
    ("Brazil", "Americas", "Portuguese", ["São Paulo", "Florianópolis"]),
    ("Russia", "Europe", "Russian", ["Москва", "Санкт-Петербург"]),
    ("Greece", "Europe", "Greek", ["Αθήνα", "Θεσσαλονίκη"]),
    ("Spain", "Europe", "Spanish", ["Madrid", "A Coruña", "Málaga"]),
    ("USA", "Americas", "English", ["Boston", "Seattle", "Austin"]),
    ("Sweden", "Europe", "Swedish", ["Göteborg", "Malmö"]),
    ("Poland", "Europe", "Polish", ["Łódź", "Kraków"]),
]

COMPANY_WORDS = ["Nord", "Alpen", "Sakura", "Rio", "Volga", "Olympos", "Sierra", "Harbor", "Fjord",
                 "Wisła", "Sonnen", "Lumière", "Fuji", "Tejo", "Baltic", "Aegean", "Prairie", "Delta"]
COMPANY_KINDS = ["Handel GmbH", "SARL", "株式会社", "Ltda.", "ООО", "Α.Ε.", "S.L.", "Inc.", "AB", "Sp. z o.o."]
FIRST_NAMES = ["Anna", "Jürgen", "Chloé", "Hiroshi", "João", "Ольга", "Νίκος", "Lucía", "Sam", "Åsa",
               "Michał", "Émile", "Yuki", "Inês", "Dmitri", "Eleni", "Pablo", "Grace"]
LAST_NAMES = ["Müller", "Lefèvre", "Tanaka", "Gonçalves", "Иванова", "Παπαδόπουλος", "García", "O'Brien",
              "Sjöberg", "Wiśniewski", "Dubois", "Sato", "Ferreira", "Смирнов", "Georgiou", "Núñez"]
PRODUCTS = ["Widget A", "Widget B", "Gear Set", "Sensor Kit", "Control Unit", "Cable 5m", "Service Plan",
            "Spare Parts", "Mounting Frame", "Display 24\""]
ORDER_STATUS = ["Open", "Shipped", "Invoiced", "Cancelled"]
TICKET_STATUS = ["New", "In Progress", "Waiting for Customer", "Closed"]
PRIORITIES = ["Low", "Normal", "High", "Urgent"]

# Ticket subjects by language: what a support database of an international seller holds.
TICKET_SUBJECTS = {
    "German": ["Lieferung unvollständig", "Rechnung fehlerhaft", "Gerät startet nicht", "Frage zur Größe"],
    "French": ["Livraison en retard", "Facture erronée", "Problème d'installation", "Pièce défectueuse"],
    "Japanese": ["配送が遅れています", "請求書の誤り", "センサーが反応しない", "設定方法について"],
    "Portuguese": ["Entrega atrasada", "Fatura incorreta", "Não liga", "Dúvida sobre garantia"],
    "Russian": ["Задержка доставки", "Ошибка в счёте", "Устройство не включается", "Вопрос о гарантии"],
    "Greek": ["Καθυστέρηση παράδοσης", "Λάθος τιμολόγιο", "Η συσκευή δεν ανάβει", "Ερώτηση εγγύησης"],
    "Spanish": ["Entrega incompleta", "Factura incorrecta", "No enciende", "Consulta de tamaño"],
    "English": ["Late delivery", "Wrong invoice", "Unit does not start", "Question about \"Pro\" plan"],
    "Swedish": ["Försenad leverans", "Fel på fakturan", "Startar inte", "Fråga om storlek"],
    "Polish": ["Opóźniona dostawa", "Błędna faktura", "Urządzenie nie działa", "Pytanie o gwarancję"],
}

BODY_LINES = {
    "German": ["Sehr geehrte Damen und Herren,", "die Ware ist leider nicht vollständig angekommen.",
               "Mit freundlichen Grüßen"],
    "French": ["Bonjour,", "la commande n'est toujours pas arrivée ; pouvez-vous vérifier ?", "Cordialement"],
    "Japanese": ["お世話になっております。", "ご確認のほどよろしくお願いいたします。", "敬具"],
    "Portuguese": ["Olá,", "o pedido chegou com defeito, por favor verifiquem.", "Atenciosamente"],
    "Russian": ["Здравствуйте!", "Просим проверить заказ и сообщить сроки.", "С уважением"],
    "Greek": ["Καλησπέρα σας,", "παρακαλώ ελέγξτε την παραγγελία μας.", "Με εκτίμηση"],
    "Spanish": ["Hola,", "faltan piezas en el envío; ¿pueden revisarlo?", "Saludos"],
    "English": ["Hello,", "the shipment arrived incomplete, please check.", "Best regards"],
    "Swedish": ["Hej!", "leveransen är ofullständig, kan ni kontrollera?", "Vänliga hälsningar"],
    "Polish": ["Dzień dobry,", "przesyłka dotarła niekompletna, proszę o sprawdzenie.", "Pozdrawiam"],
}


class Database:
    def __init__(self):
        self.next_note_id = 0x8F6
        self.next_unid = 1
        self.documents = []  # (form, xml) in note ID order

    def ids(self):
        note_id = self.next_note_id
        self.next_note_id += 4
        unid = "%08X%08X%016X" % (0xC1257E2A, 0x004F3A10, 0x5A17000000000000 + self.next_unid)
        self.next_unid += 1
        return note_id, unid


def datetime_text(day, minutes):
    """A DXL datetime in 2024 (day 0 = 2 January), local time at offset +01."""
    month_lengths = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
    day += 1
    month = 0
    while day >= month_lengths[month]:
        day -= month_lengths[month]
        month = (month + 1) % 12
    return "2024%02d%02dT%02d%02d00,00+01" % (month + 1, day + 1, minutes // 60 % 24, minutes % 60)


def noteinfo(note_id, unid, created, modified):
    return ("<noteinfo noteid='%x' unid='%s' sequence='%d'>"
            "<created><datetime>%s</datetime></created>"
            "<modified><datetime>%s</datetime></modified>"
            "<revised><datetime>%s</datetime></revised>"
            "<lastaccessed><datetime>%s</datetime></lastaccessed>"
            "<addedtofile><datetime>%s</datetime></addedtofile></noteinfo>"
            % (note_id, unid, 1 + note_id % 3, created, modified, modified, modified, created))


def text_item(name, value):
    return "<item name=%s><text>%s</text></item>" % (quoteattr(name), escape(value))


def textlist_item(name, values):
    return "<item name=%s><textlist>%s</textlist></item>" % (
        quoteattr(name), "".join("<text>%s</text>" % escape(v) for v in values))


def number_item(name, value):
    return "<item name=%s><number>%s</number></item>" % (quoteattr(name), value)


def datetime_item(name, value):
    return "<item name=%s><datetime>%s</datetime></item>" % (quoteattr(name), value)


def richtext_item(name, paragraphs, attachments=()):
    pars = "".join("<par def='1'>%s</par>" % escape(p) for p in paragraphs)
    refs = "".join("<par def='1'><attachmentref name=%s displayname=%s/></par>"
                   % (quoteattr(a), quoteattr(a)) for a in attachments)
    return "<item name=%s><richtext><pardef id='1'/>%s%s</richtext></item>" % (quoteattr(name), pars, refs)


def file_item(name, data, created):
    return ("<item name='$FILE' summary='true' sign='true'><object><file hosttype='msdos' "
            "compression='none' flags='storedindoc' name=%s><created><datetime>%s</datetime></created>"
            "<modified><datetime>%s</datetime></modified><filedata>%s</filedata></file></object></item>"
            % (quoteattr(name), created, created, base64.b64encode(data).decode("ascii")))


def document(db, form, items, day, parent=None):
    note_id, unid = db.ids()
    created = datetime_text(day, 8 * 60 + RNG.below(9 * 60))
    modified = datetime_text(min(day + RNG.below(20), 360), 8 * 60 + RNG.below(9 * 60))
    attrs = "form=%s" % quoteattr(form)
    if parent is not None:
        attrs += " parent='%s' response='true'" % parent
    items = [text_item("Form", form)] + items
    xml = "<document %s>%s%s</document>" % (attrs, noteinfo(note_id, unid, created, modified), "".join(items))
    db.documents.append((form, note_id, unid, xml))
    return note_id, unid


def customers(db):
    result = []
    for i in range(40):
        country, region, language, cities = COUNTRIES[i % len(COUNTRIES)]
        company = "%s %s" % (COMPANY_WORDS[(i * 7) % len(COMPANY_WORDS)], COMPANY_KINDS[i % len(COMPANY_KINDS)])
        contact = "%s %s" % (RNG.pick(FIRST_NAMES), RNG.pick(LAST_NAMES))
        customer_id = "C%04d" % (1001 + i)
        city = cities[i % len(cities)]
        items = [
            text_item("CustomerID", customer_id),
            text_item("Subject", company),
            text_item("CompanyName", company),
            text_item("ContactName", contact),
            text_item("Country", country),
            text_item("Region", region),
            text_item("City", city),
            text_item("Language", language),
            text_item("Email", "contact%d@example.com" % (i + 1)),
            number_item("CreditLimit", 5000 + 2500 * RNG.below(9)),
            richtext_item("Body", ["%s (%s, %s)" % (company, city, country),
                                   "Key account since 20%02d." % (10 + i % 14), BODY_LINES[language][2]]),
        ]
        document(db, "Customer", items, i)
        result.append((customer_id, company, country, region, language))
    return result


def orders(db, customer_list):
    for i in range(170):
        customer_id, company, country, region, language = customer_list[RNG.below(len(customer_list))]
        number = 24001 + i
        status = ORDER_STATUS[RNG.below(len(ORDER_STATUS))]
        products = []
        for _ in range(1 + RNG.below(3)):
            product = PRODUCTS[RNG.below(len(PRODUCTS))]
            if product not in products:
                products.append(product)
        amount = (1 + RNG.below(400)) * 12.5
        day = 10 + i * 2 % 340
        year = "2008" if i % 17 == 0 else "2024"
        attachments = []
        items = [
            text_item("OrderNumber", str(number)),
            text_item("Subject", "Order %d for %s" % (number, company)),
            text_item("CustomerID", customer_id),
            text_item("CompanyName", company),
            text_item("Country", country),
            text_item("Region", region),
            text_item("Status", status),
            text_item("Year", year),
            textlist_item("Products", products),
            number_item("Amount", "%.2f" % amount),
            text_item("Currency", "EUR" if region == "Europe" else "USD"),
            datetime_item("OrderDate", datetime_text(day, 9 * 60)),
        ]
        if i % 20 == 5:
            # Visible only to the sales manager: the demo's notes.ini grants the exporter full access.
            items.append("<item name='DocReaders' readers='true'><text>CN=Sales Manager/O=Vorlix Demo</text></item>")
        if status in ("Invoiced", "Shipped") and i % 3 == 0:
            name = "invoice-%d.txt" % number
            attachments.append(name)
            invoice = "Invoice %d\r\nCustomer: %s\r\nProducts: %s\r\nTotal: %.2f\r\n" % (
                number, company, ", ".join(products), amount)
            items.append(file_item(name, invoice.encode("utf-8"), datetime_text(day, 10 * 60)))
        items.append(richtext_item("Body", ["Order for %s." % company,
                                            "Products: " + "; ".join(products),
                                            "Total %.2f" % amount], attachments))
        document(db, "Order", items, day)


def tickets(db, customer_list):
    threads = []
    for i in range(65):
        customer_id, company, country, region, language = customer_list[(i * 3) % len(customer_list)]
        subject = TICKET_SUBJECTS[language][i % 4]
        status = TICKET_STATUS[RNG.below(len(TICKET_STATUS))]
        priority = PRIORITIES[RNG.below(len(PRIORITIES))]
        day = 20 + i * 5 % 330
        attachments = []
        items = [
            text_item("TicketNumber", "T-%05d" % (501 + i)),
            text_item("Subject", subject),
            text_item("CustomerID", customer_id),
            text_item("CompanyName", company),
            text_item("Language", language),
            text_item("Status", status),
            text_item("Priority", priority),
            text_item("Escalated", "1" if priority == "Urgent" else "0"),
            datetime_item("Opened", datetime_text(day, 11 * 60)),
        ]
        if i % 4 == 1:
            name = "error-log-%d.txt" % (501 + i)
            attachments.append(name)
            log = "".join("2024-03-%02d 10:%02d ERROR E%03d sensor timeout\n" % (1 + k, k * 3, 100 + k)
                          for k in range(6))
            items.append(file_item(name, log.encode("utf-8"), datetime_text(day, 11 * 60)))
        if i % 9 == 4:
            name = "photo %d.gif" % (501 + i)
            attachments.append(name)
            items.append(file_item(name, tiny_gif(), datetime_text(day, 11 * 60)))
        items.append(richtext_item("Body", BODY_LINES[language] + ["Ref. %s" % customer_id], attachments))
        note_id, unid = document(db, "Ticket", items, day)
        threads.append((unid, subject, language, day, status))
    return threads


def responses(db, threads):
    count = 0
    for index, (unid, subject, language, day, status) in enumerate(threads):
        replies = 0 if status == "New" else 1 + index % 2
        parent = unid
        for r in range(replies):
            items = [
                text_item("Subject", "Re: " + subject),
                text_item("Author", "Support Team" if r % 2 == 0 else "Customer"),
                text_item("Language", language),
                richtext_item("Body", ["Thank you, we are looking into it." if r % 2 == 0
                                       else BODY_LINES[language][1], BODY_LINES[language][2]]),
            ]
            note_id, reply_unid = document(db, "Response", items, day + 1 + r, parent)
            parent = reply_unid  # the second reply answers the first: a two-level hierarchy
            count += 1
    return count


def tiny_gif():
    # A 1x1 transparent GIF.
    return base64.b64decode("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7")


DESIGN_IDS = iter(range(0x11E, 0x8F6, 4))


def view(name, selection, columns, folder=False, members=()):
    cols = []
    for title, formula, sort, categorized in columns:
        attrs = ""
        if sort:
            attrs += " sort='ascending'"
        if categorized:
            attrs += " categorized='true'"
        cols.append("<column%s><columnheader title=%s/><code event='value'><formula>%s</formula></code></column>"
                    % (attrs, quoteattr(title), escape(formula)))
    element = "folder" if folder else "view"
    code = "" if folder else "<code event='selection'><formula>%s</formula></code>" % escape(selection)
    note_id = next(DESIGN_IDS)
    unid = "%08X%08X%016X" % (0xC1257E2A, 0x004F3A10, 0xD0000000 + note_id)
    info = "<noteinfo noteid='%x' unid='%s' sequence='1'/>" % (note_id, unid)
    listed = ""
    if members:
        # Folder membership is not part of DXL: the stand-in runtime reads it from its own namespace.
        listed = "<vx:members>%s</vx:members>" % "".join("<vx:member unid='%s'/>" % u for u in members)
    return "<%s name=%s>%s%s%s%s</%s>" % (element, quoteattr(name), info, code, "".join(cols), listed, element)


def logo_png(width=120, height=36):
    """The demo company's logo: a blue bar with an orange disc, drawn pixel by pixel (deterministic)."""
    rows = []
    for y in range(height):
        row = bytearray([0])  # filter type None
        for x in range(width):
            dx, dy = x - height // 2, y - height // 2
            if dx * dx + dy * dy <= (height // 2 - 4) ** 2:
                pixel = (0xF0, 0x8C, 0x1E)
            elif y % 12 < 8 and x > height:
                pixel = (0x1E, 0x50, 0xA0) if x < width - 4 else (0xFF, 0xFF, 0xFF)
            else:
                pixel = (0xFF, 0xFF, 0xFF)
            row.extend(pixel)
        rows.append(bytes(row))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
            + chunk(b"IEND", b""))


def order_form():
    """The Order form: the logo, a heading and a table of the order's fields, then its Body. A document
    printed through it shows this layout with the document's values."""
    note_id = next(DESIGN_IDS)
    unid = "%08X%08X%016X" % (0xC1257E2A, 0x004F3A10, 0xD0000000 + note_id)
    rows = [("Customer", "CompanyName"), ("Country", "Country"), ("Status", "Status"),
            ("Order date", "OrderDate"), ("Products", "Products"), ("Amount", "Amount"), ("Currency", "Currency")]
    table = "".join("<tablerow><tablecell bgcolor='#e0e8f0'><par def='2'><run><font style='bold'/>%s</run></par>"
                    "</tablecell><tablecell><par def='2'><field name=%s type='text'/></par></tablecell></tablerow>"
                    % (label, quoteattr(field)) for label, field in rows)
    body = ("<richtext><pardef id='1'/><pardef id='2'/>"
            "<par def='1'><picture width='120px' height='36px'><png>%s</png></picture></par>"
            "<par def='1'><run><font size='16pt' style='bold' color='#1e50a0'/>Order </run>"
            "<run><font size='16pt' style='bold' color='#1e50a0'/><field name='OrderNumber' type='text'/></run></par>"
            "<table widthtype='fixedleft'><tablecolumn width='1.5in'/><tablecolumn width='3.5in'/>%s</table>"
            "<par def='1'><field name='Body' type='richtext'/></par></richtext>"
            % (base64.b64encode(logo_png()).decode("ascii"), table))
    return ("<form name='Order'><noteinfo noteid='%x' unid='%s' sequence='1'/><body>%s</body></form>"
            % (note_id, unid, body))


def design(follow_up, archived):
    subject = ("Subject", "Subject", True, False)
    return [
        view("All Documents", "SELECT @All", [("Form", "Form", True, False), subject]),
        view("Customers\\By Country", 'SELECT Form = "Customer"',
             [("Country", "Country", True, True), ("Company", "CompanyName", True, False),
              ("Contact", "ContactName", False, False)]),
        view("Orders\\By Status", 'SELECT Form = "Order"',
             [("Status", "Status", True, True), ("Order", "OrderNumber", True, False), subject]),
        view("Orders\\By Region", 'SELECT Form = "Order"',
             [("Region", "Region", True, True), ("Country", "Country", True, True), subject]),
        view("Support\\Open Tickets", 'SELECT Form = "Ticket" & Status != "Closed"',
             [("Priority", "Priority", True, True), subject]),
        view("Support\\All Tickets", 'SELECT Form = "Ticket" | Form = "Response"',
             [("Ticket", "Subject", False, False)]),
        view("Archive", 'SELECT Form = "Order" & Status = "Cancelled"', [subject]),
        view("Archive 2008", 'SELECT Form = "Order" & Year = "2008"', [subject]),
        view("(Lookup Customers)", 'SELECT Form = "Customer"', [("ID", "CustomerID", True, False)]),
        view("(Escalations)", 'SELECT Form = "Ticket" & Escalated = "1"', [subject]),
        view("Follow Up", "", [subject], folder=True, members=follow_up),
        view("Archive\\Old", "", [subject], folder=True, members=archived),
        order_form(),
    ]


def main():
    db = Database()
    customer_list = customers(db)
    orders(db, customer_list)
    threads = tickets(db, customer_list)
    responses(db, threads)
    parts = ["<?xml version='1.0' encoding='utf-8'?>\n",
             "<!DOCTYPE database>\n",
             "<database xmlns='http://www.lotus.com/dxl' xmlns:vx='urn:vorlix:standin-dxl' version='9.0' "
             "title='Vorlix Demo: Sales and Support' replicaid='C1257E2A004F3A10'>\n"]
    follow_up = [unid for form, note_id, unid, xml in db.documents
                 if form == "Ticket" and "<text>Waiting for Customer</text>" in xml]
    archived = [unid for form, note_id, unid, xml in db.documents
                if form == "Order" and "<item name=\"Year\"><text>2008</text>" in xml]
    for element in design(follow_up, archived):
        parts.append(element + "\n")
    for form, note_id, unid, xml in db.documents:
        parts.append(xml + "\n")
    parts.append("</database>\n")
    os.makedirs(os.path.dirname(OUTPUT), exist_ok=True)
    with open(OUTPUT, "w", encoding="utf-8", newline="\n") as out:
        out.write("".join(parts))
    print("%s: %d documents" % (os.path.relpath(OUTPUT), len(db.documents)))


if __name__ == "__main__":
    sys.exit(main())
