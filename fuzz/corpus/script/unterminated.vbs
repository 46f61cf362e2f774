Sub X
x = "unterminated
End Sub
